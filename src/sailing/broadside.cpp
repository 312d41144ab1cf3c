#include "sailing/broadside.h"

#include <cstdlib>
#include <string>

#include "flow/dialog.h"
#include "flow/gamestate.h"
#include "flow/highscore.h"
#include "pirates/cannonballs.h"
#include "platform/audio.h"
#include "platform/input.h"
#include "render/text.h"
#include "texts.h"
#include "world/world.h"

void FireBroadside(int32_t button) {
    // A release while reloading is simply lost: it does not fire once the guns are ready.
    if (!wasReleased(button)) return;
    if (player->fireCooldown > 0 || player->hitTimer > 0 || player->health < 1 || cannonballCount < 1) return;
    cannonballCount--;
    FireCannonball(player, button == ButtonA ? 1 : 0, true);
}

namespace {

// The sinking picture plays 101 frames before anyone speaks: the game ends once the
// sunk ship's sinkTimer, which starts at 500, is below this.
constexpr int32_t kGameOverBelow = 400;

}  // namespace

void CheckGameOver() {
    if (player->sinkTimer >= kGameOverBelow) return;
    StopMusic();
    if (gold > highScore) {
        PlaySound(SoundNextLevel);
        highScore = gold;
        SaveHighScore(highScore);
        ClearWorldLists();
        GameState = ScreenNewHighScore;
        StartDialog(1, (newHighScoreText + NumberText(highScore) + "!").c_str(), BackToMenu);
        return;
    }
    // One of four speakers, one of its two lines; the sea stays behind the dialog until
    // it is dismissed.
    const int32_t speaker = std::rand() % 4;
    const int32_t line = std::rand() % 2;
    StartDialog(speaker + 1, gameOverLines[speaker * 2 + line], EnterGameOver);
}
