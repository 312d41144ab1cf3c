#include "flow/dispatch.h"

#include "flow/dialog.h"
#include "flow/highscore.h"
#include "flow/menu.h"
#include "flow/screens.h"
#include "platform/audio.h"
#include "sailing/sailing.h"
#include "world/generate.h"
#include "world/world.h"

int32_t GameState = 100;
int32_t welcomeShown;
int32_t rippleOn;

namespace {

// The second frame: everything the game needs from disk, then the menu music, which
// plays on under the credits.
void Boot() {
    LoadHighScore();
    LoadAudio();
    PlayMusic(MusicMenu);
    GameState = 1;
}

}  // namespace

void RunFrame() {
    switch (GameState) {
    case 100:  // the first frame shows the untouched, black picture
        GameState = 0;
        break;
    case 0:
        Boot();
        break;
    case 1:
        CreditPageFrame(0);
        break;
    case -1:
        CreditPageFrame(1);
        break;
    case -2:
        CreditPageFrame(2);
        break;
    case 2:
        MenuFrame();
        break;
    case 3:
        HighScoreFrame();
        break;
    case 4:
        SailingFrame();
        break;
    case 5:
    case 7:  // a dialog alone on the dark background, no sea behind it
        DialogFrame();
        break;
    case 6:
        GameOverFrame();
        break;
    case 11:
        DialogFrame();
        welcomeShown = 1;
        break;
    default:
        break;
    }
}

void StartNewGame() {
    GameState = 4;
    cargo = 0;
    peaceful = 1;
    level = 0;
    GenerateIslands();
    gold = 0;  // the islands' starting purse does not count toward a new game's score
}

void GoToMenu() { GameState = 2; }

void GoToScoreScreen() { GameState = 3; }

void BackToMenu() {
    GameState = 2;
    PlayMusic(MusicMenu);
}

void EnterGameOver() {
    ClearWorldLists();
    PlaySound(SoundGameOver);
    GameState = 6;
}

void NextIslands() {
    overlayMode = 0;
    GameState = 4;
    GenerateIslands();
}

void CloseDialog() { overlayMode = 0; }
