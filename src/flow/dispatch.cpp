#include "flow/dispatch.h"

#include "world/world.h"

int32_t GameState = 100;
int32_t welcomeShown;
int32_t rippleOn;

// The screens are being written.
void RunFrame() {}
void StartNewGame() {}
void GoToMenu() {}
void GoToScoreScreen() {}
void BackToMenu() {}
void EnterGameOver() {}
void NextIslands() {}

void CloseDialog() { overlayMode = 0; }
