// Small files: the score file and the replay scripts. Every result the game does not
// need is ignored, as nothing on disk is worth stopping a game for.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

// Makes the last level of path as a directory open to everyone (mode 0777), and puts
// the new entry on the storage at once; a directory that already exists, or one that
// cannot be made, is left as it is.
void MakeDirectory(const char* path);

// Reads one number from path (ReadNumber) into *value. False only when no file is
// there; anything else that is there counts as one holding no number when it cannot be
// read, so that a best score the player cannot read just now is never taken for a first
// run. Only a plain file is opened: a pipe, a device or a folder is never read (and
// never waited on).
bool ReadNumberFile(const char* path, int32_t* value);

// Reads a number as the C library's formatted integer read does: blanks (space, tab,
// line feed, vertical tab, form feed, carriage return) are skipped, then an optional
// sign and the digits are taken, and whatever follows is left unread. False, with
// *value as it was, when no digit comes. A number past what 32 bits hold reads as the
// largest (or, negative, the smallest) 32-bit number, as a player who typed too many
// nines would expect.
bool ReadNumber(std::FILE* file, int32_t* value);

// Makes path hold value in decimal with nothing after it, unless it already holds a
// number at least as large. A link is written through: its target is the file written.
// The old file is only ever replaced whole, by a rename: the number goes to a new file
// of this save's own beside it, which is on the storage (with the folder's entry) before
// and after it takes the old one's name, so a kill or a power cut at any instant leaves
// the old number or the new one. The stored number is read again, under a lock that
// other games saving into the same folder wait for, just before it is replaced, so two
// games ending at once leave the higher score. The new file takes the old one's owner,
// group, permissions and access list. Left exactly as it is, while the game keeps its
// best in memory:
// - a file that cannot be read or may not be written;
// - anything but a plain file (a folder, a pipe, a device);
// - a file whose owner, group, permissions or access list the new file cannot take
//   (someone else's file: only root may give a file away);
// - everything, when no new file can be made beside it (a read-only folder, a full
//   disk, a name too long).
void WriteNumberFile(const char* path, int32_t value);

// Makes a new, empty folder of its own under /tmp and returns its path ("" when none
// can be made).
std::string MakeTemporaryDirectory();

// Removes path and everything in it.
void RemoveDirectoryTree(const std::string& path);

// The whole of a text file; false when it cannot be read.
bool ReadTextFile(const char* path, std::string* text);
