// The best score: kept in memory and in one small file under the save directory.
#pragma once
#include <cstdint>
#include <string>

// The best gold ever reached at the end of a game; 0 until the boot screen reads it.
extern int32_t highScore;

// The score file: saveDir followed by "score". It holds one number in decimal and
// nothing else, not even a newline.
std::string HighScoreFile();

// Reads the score file into highScore; a missing file is created holding 0. A file that
// holds no number, or cannot be read, reads as 0 and is left as it is.
void LoadHighScore();

// Writes score to the score file (making the save directory first), onto the storage at
// once, unless the file already holds a number at least as large. Where it cannot be
// written the old file stays as it was; the caller keeps the best in highScore.
void SaveHighScore(int32_t score);
