#include "flow/highscore.h"

#include "platform/files.h"
#include "platform/frame.h"

int32_t highScore;

std::string HighScoreFile() { return saveDir + "score"; }

void LoadHighScore() {
    // An empty or unreadable file counts as no score yet; only a missing one is written.
    int32_t score = 0;
    if (!ReadNumberFile(HighScoreFile().c_str(), &score)) SaveHighScore(0);
    highScore = score;
}

void SaveHighScore(int32_t score) {
    // Only the last level of the path is made: the home directory is taken as given. A
    // handheld is often switched off without a shutdown, so the file goes onto the card
    // now, and only the score's own file and folder are waited for.
    MakeDirectory(saveDir.c_str());
    WriteNumberFile(HighScoreFile().c_str(), score);
}
