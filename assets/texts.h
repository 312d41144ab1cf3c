// The game's texts: everything its speakers say.
#pragma once

// Shown by Play on a first run and by Instructions.
extern const char* const welcomeText;

// The opening line of a first game's first set of islands (no high score yet).
extern const char* const firstIslandsText;

// The greetings that open every other set of islands: four for each speaker portrait
// 1..4, at (portrait - 1) * 4 + k.
extern const char* const levelGreetings[16];

// The lines spoken when the player's ship has sunk, in pairs by portrait 1..4: line
// (portrait - 1) * 2 + k.
extern const char* const gameOverLines[8];

// The farewell after the fifth sale on a set of islands.
extern const char* const farewellTexts[5];

// After the first load of cargo of a first game.
extern const char* const firstCargoText;

// A full hold at a port that gives cargo.
extern const char* const fullHoldText;

// A barrel reached with the magazine full.
extern const char* const fullMagazineText;

// Start of the new high score line; the score and "!" follow.
extern const char* const newHighScoreText;

// The three credit pages, two lines each: the upper line is drawn at y = 95, the lower
// at y = 105. Leading spaces centre a line on its page.
extern const char* const creditLines[3][2];
