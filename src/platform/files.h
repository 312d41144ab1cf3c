// Small files: the score file and the replay scripts. Every result the game does not
// need is ignored, as nothing on disk is worth stopping a game for.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

// Makes the last level of path as a directory open to everyone (mode 0777); a
// directory that already exists, or one that cannot be made, is left as it is.
void MakeDirectory(const char* path);

// Reads one number from path (ReadNumber) into *value. False only when no file is
// there; a file that is there but cannot be read counts as one holding no number, so
// that a best score the player cannot read just now is never taken for a first run.
bool ReadNumberFile(const char* path, int32_t* value);

// Reads a number as the C library's formatted integer read does: blanks (space, tab,
// line feed, vertical tab, form feed, carriage return) are skipped, then an optional
// sign and the digits are taken, and whatever follows is left unread. False, with
// *value as it was, when no digit comes. A number past what 32 bits hold reads as the
// largest (or, negative, the smallest) 32-bit number, as a player who typed too many
// nines would expect.
bool ReadNumber(std::FILE* file, int32_t* value);

// Makes path hold value in decimal with nothing after it, keeping what path is:
// - a link is written through: its target is the file written;
// - a file that cannot be opened for writing is left as it is;
// - otherwise the number goes to a new file beside it (its name followed by ".new",
//   one fixed name, so a save cut short leaves at most one behind and the next save
//   clears it), with the old file's owner and permissions, and takes the old one's
//   place in one step: a kill or a power cut at any instant leaves the old number or
//   the new one, never a mixture or nothing;
// - where the folder takes no new file, or path is not a plain file (a device, a
//   pipe), path itself is truncated and written.
// A disk too full for the new number keeps the old one.
void WriteNumberFile(const char* path, int32_t value);

// Pushes everything written so far out to the storage.
void SyncFiles();

// Makes a new, empty folder of its own under /tmp and returns its path ("" when none
// can be made).
std::string MakeTemporaryDirectory();

// Removes path and everything in it.
void RemoveDirectoryTree(const std::string& path);

// The whole of a text file; false when it cannot be read.
bool ReadTextFile(const char* path, std::string* text);
