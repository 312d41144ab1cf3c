#include "flow/menu.h"

#include "flow/dialog.h"
#include "flow/gamestate.h"
#include "flow/highscore.h"
#include "flow/screens.h"
#include "platform/audio.h"
#include "platform/frame.h"
#include "platform/input.h"
#include "render/sprite.h"
#include "render/text.h"
#include "texts.h"
#include "title.h"

const char* const menuLabels[kMenuEntries] = {"Play", "Instructions", "Credits", "Music", "SFX"};
void (*const menuActions[kMenuEntries])() = {PlayAction, ShowInstructions, ShowCredits, ToggleMusic, ToggleSfx};

int32_t menuCursor;
int32_t titleTick = 64;
int32_t soundTestIndex;

namespace {

constexpr int32_t kLogoWidth = 120;
constexpr int32_t kLogoHeight = 60;
constexpr int32_t kTitleCycle = 128;    // three idle loops and the flourish
constexpr int32_t kFlourishStart = 97;  // titleTick at which strip B takes over
constexpr int32_t kMenuMusic = 3;       // entries with a loudspeaker mark
constexpr int32_t kMenuSfx = 4;

// The logo's picture at this tick: strip A's idle loop, each picture for two frames,
// three times over, then strip B's flourish once.
const uint8_t* LogoPicture() {
    const int32_t frame = (titleTick % 32) / 2;
    const uint8_t* strip = titleTick < kFlourishStart ? LogoStripA : LogoStripB;
    return strip + FrameSlot(kLogoWidth, kLogoHeight, frame);
}

// A one-bit 8 x 8 mark: one byte per column, bit 0 the top pixel.
void DrawMark(int32_t x, int32_t y, const uint8_t* mark) {
    const uint16_t colour = PaletteColour(15);
    for (int32_t c = 0; c < 8; c++) {
        for (int32_t b = 0; b < 8; b++) {
            if ((mark[c] >> b & 1) != 0 && y + b < kScreenHeight) FrameBuffer[(y + b) * kScreenWidth + x + c] = colour;
        }
    }
}

}  // namespace

void MenuFrame() {
    // 1. The sound test: Right plays every sound in turn. After the last it starts
    // again from the first, so whoever is listening through them can keep going.
    if (wasReleased(ButtonRight)) {
        PlaySound(soundTestIndex);
        soundTestIndex = (soundTestIndex + 1) % kSoundCount;
    }

    // 2. The logo's next tick, and the ripple's turn.
    titleTick++;
    if (titleTick == kTitleCycle) titleTick = 0;
    AdvanceRipple();

    // 3-4. The cursor stops at either end, silently.
    if (wasReleased(ButtonUp)) {
        menuCursor--;
        if (menuCursor < 0) menuCursor = 0;
        else PlaySound(SoundBeep);
    }
    if (wasReleased(ButtonDown)) {
        menuCursor++;
        if (menuCursor >= kMenuEntries) menuCursor = kMenuEntries - 1;
        else PlaySound(SoundBeep);
    }

    // 2, 5-7. The logo, the entries, the wheel and the switch's mark.
    DrawMenu();

    // 8. Choose. The click comes after the action, so switching effects off is silent
    // and switching them on is heard. The mark drawn above shows the switch as it was.
    if (wasReleased(ButtonA)) {
        menuActions[menuCursor]();
        PlaySound(SoundClick);
    }
}

void DrawMenu() {
    DrawRippling(20, 2, kLogoWidth, kLogoHeight, LogoPicture(), SeaKey());

    // The entries; the chosen one stands 3 pixels out.
    for (int32_t i = 0; i < kMenuEntries; i++)
        DrawText(i == menuCursor ? 48 : 45, 63 + 11 * i, menuLabels[i], PaletteColour(15));

    // The wheel, glinting for the last 49 frames of every 3-second cycle.
    const int32_t cursorFrame = frameCounter < 71 ? 0 : 1;
    DrawSprite16x16(32, 60 + 11 * menuCursor, MenuCursorFrames + FrameSlot(16, 16, cursorFrame), SeaKey());

    // The switch under the cursor shows whether it is on.
    if (menuCursor == kMenuMusic) DrawMark(81, 96, musicOn ? SoundOnMark : SoundOffMark);
    if (menuCursor == kMenuSfx) DrawMark(69, 107, sfxOn ? SoundOnMark : SoundOffMark);
}

void PlayAction() {
    if (highScore != 0 || welcomeShown) {
        GameState = ScreenHighScore;
        return;
    }
    GameState = ScreenWelcome;
    StartDialog(1, welcomeText, GoToScoreScreen);
}

void ShowInstructions() {
    GameState = ScreenWelcome;
    StartDialog(1, welcomeText, GoToMenu);
}

void ShowCredits() { GameState = ScreenCredits; }

void ToggleMusic() {
    musicOn = !musicOn;
    if (musicOn) {
        PlayMusic(MusicMenu);  // starts the menu track afresh, as it is not current
    } else {
        StopMusic();
        currentMusic = -1;
    }
}

void ToggleSfx() { sfxOn = !sfxOn; }
