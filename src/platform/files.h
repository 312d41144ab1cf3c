// Small files: the score file and the replay scripts. Every result the game does not
// need is ignored, as nothing on disk is worth stopping a game for.
#pragma once
#include <cstdint>
#include <string>

// Makes the last level of path as a directory open to everyone (mode 0777); a
// directory that already exists, or one that cannot be made, is left as it is.
void MakeDirectory(const char* path);

// Opens path for reading: false when it cannot be opened. Otherwise reads one decimal
// integer into *value (left as it was when the file holds no number) and closes it.
bool ReadNumberFile(const char* path, int32_t* value);

// Makes path hold value in decimal with nothing after it. The number goes to a new file
// beside it first, which then takes the old one's place, so that a power cut in the
// middle leaves the old number or the new one, never an empty file. Where no new file
// can be made there, path itself is truncated and written. False when neither opens.
bool WriteNumberFile(const char* path, int32_t value);

// Pushes everything written so far out to the storage.
void SyncFiles();

// Makes a new, empty folder of its own under /tmp and returns its path ("" when none
// can be made).
std::string MakeTemporaryDirectory();

// Removes path and everything in it.
void RemoveDirectoryTree(const std::string& path);

// The whole of a text file; false when it cannot be read.
bool ReadTextFile(const char* path, std::string* text);
