#include "flow/dispatch.h"

#include "flow/dialog.h"
#include "flow/gamestate.h"
#include "flow/highscore.h"
#include "flow/menu.h"
#include "flow/screens.h"
#include "platform/audio.h"
#include "platform/frame.h"
#include "platform/input.h"
#include "sailing/sailing.h"

namespace {

// The second frame: everything the game needs from disk, then the menu music, which
// plays on under the credits.
void Boot() {
    LoadHighScore();
    LoadAudio();
    PlayMusic(MusicMenu);
    GameState = ScreenCredits;
}

}  // namespace

void RunOneFrame(void (*present)()) {
    RunFrame();
    SampleButtons();
    if (present != nullptr) present();
    ClearFrameBuffer();
    frameCounter++;
    if (frameCounter == 120) frameCounter = 0;
}

void RunFrame() {
    switch (GameState) {
    case ScreenStart:  // the first frame shows the untouched, black picture
        GameState = ScreenBoot;
        break;
    case ScreenBoot:
        Boot();
        break;
    case ScreenCredits:
        CreditPageFrame(0);
        break;
    case ScreenCreditsArt:
        CreditPageFrame(1);
        break;
    case ScreenCreditsMusic:
        CreditPageFrame(2);
        break;
    case ScreenMenu:
        MenuFrame();
        break;
    case ScreenHighScore:
        HighScoreFrame();
        break;
    case ScreenSailing:
        SailingFrame();
        break;
    case ScreenNewHighScore:
    case ScreenFarewell:  // a dialog alone on the dark background, no sea behind it
        DialogFrame();
        break;
    case ScreenGameOver:
        GameOverFrame();
        break;
    case ScreenWelcome:
        DialogFrame();
        welcomeShown = true;
        break;
    }
}
