#include "flow/gamestate.h"

#include <cstdlib>

#include "flow/dialog.h"
#include "flow/highscore.h"
#include "platform/audio.h"
#include "texts.h"
#include "world/generate.h"
#include "world/world.h"

Screen GameState = ScreenStart;
bool welcomeShown;
bool rippleOn;

void StartNewGame() {
    GameState = ScreenSailing;
    cargo = 0;
    peaceful = true;
    level = 0;
    GenerateIslands();
    gold = 0;  // the islands' starting purse does not count toward a new game's score
}

void GenerateIslands() {
    MakeIslands();

    // Someone says hello: on a first game the first mate explains the ports, otherwise
    // one of the four speakers greets the new waters.
    const int32_t r = std::rand();
    if (highScore == 0 && level == 0) {
        StartDialog(1, firstIslandsText, CloseDialog);
    } else {
        const int32_t portrait = r % 4 + 1;
        StartDialog(portrait, levelGreetings[(portrait - 1) * 4 + std::rand() % 4], CloseDialog);
    }

    PlayMusic(MusicInGame);
}

void GoToMenu() { GameState = ScreenMenu; }

void GoToScoreScreen() { GameState = ScreenHighScore; }

void BackToMenu() {
    GameState = ScreenMenu;
    PlayMusic(MusicMenu);
}

void EnterGameOver() {
    ClearWorldLists();
    PlaySound(SoundGameOver);
    GameState = ScreenGameOver;
}

void NextIslands() {
    overlayMode = OverlayNone;
    GameState = ScreenSailing;
    GenerateIslands();
}

void CloseDialog() { overlayMode = OverlayNone; }
