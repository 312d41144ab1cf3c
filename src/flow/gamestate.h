// The game's flow between screens: which screen is up (GameState), a new game, new sets of
// islands, and the actions that move between screens when a dialog is dismissed.
#pragma once
#include <cstdint>

// The current screen: 100 start, 0 boot, 1/-1/-2 credit pages, 2 title menu, 3 high
// score, 4 sailing, 5/7/11 a dialog alone, 6 game over.
extern int32_t GameState;

extern int32_t welcomeShown;  // 1 once the welcome dialog has been on screen in this run
extern int32_t rippleOn;      // the rippling pictures ripple every other 120-frame cycle

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
