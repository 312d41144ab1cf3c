// The game's flow between screens: which screen is up (GameState), a new game, new sets of
// islands, and the actions that move between screens when a dialog is dismissed.
#pragma once
#include <cstdint>

// The screens, by the numbers the game has always given them (replay scripts and the
// soak's tallies speak of them so).
enum Screen : int32_t {
    ScreenStart = 100,        // the very first frame: the untouched, black picture
    ScreenBoot = 0,           // the second: the score file, the sounds, the menu music
    ScreenCredits = 1,        // the three credit pages, 1, -1 and -2
    ScreenCreditsArt = -1,
    ScreenCreditsMusic = -2,
    ScreenMenu = 2,           // the title menu
    ScreenHighScore = 3,      // the best score; A starts a new game
    ScreenSailing = 4,        // a game in progress
    ScreenNewHighScore = 5,   // a dialog alone: a game ended with a new best
    ScreenGameOver = 6,       // the wreck on the sea bed and the score
    ScreenFarewell = 7,       // a dialog alone: the fifth sale's farewell before new islands
    ScreenWelcome = 11,       // a dialog alone: the welcome, from Play or Instructions
};

// The current screen.
extern Screen GameState;

extern bool welcomeShown;  // once the welcome dialog has been on screen in this run
extern bool rippleOn;      // the rippling pictures ripple every other 120-frame cycle

// A new game: no gold, no cargo, peaceful, level 0, fresh islands.
void StartNewGame();

// A new set of islands (MakeIslands, world/generate.h), someone greeting the captain over
// them, and the sailing music. Callers set the sailing state first.
void GenerateIslands();

// Dialog done actions.
void GoToMenu();         // to the title menu
void GoToScoreScreen();  // to the high score screen
void BackToMenu();       // to the title menu with its music
void EnterGameOver();    // clears the world and shows the game-over screen
void NextIslands();      // sails on to a new set of islands
void CloseDialog();      // back to sailing
