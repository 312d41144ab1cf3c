// The best score: kept in memory and in one small file under the save directory.
#pragma once
#include <cstdint>

// The best gold ever reached at the end of a game; 0 until the boot screen reads it.
extern int32_t highScore;

// Reads the score file into highScore; a missing file is created holding 0.
void LoadHighScore();

// Writes score to the score file (making the save directory first) and syncs.
void SaveHighScore(int32_t score);
