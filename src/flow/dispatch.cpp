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
    GameState = 1;
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
