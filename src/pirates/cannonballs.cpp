#include "pirates/cannonballs.h"

#include "platform/audio.h"
#include "world/world.h"

bool AdvanceCannonball(int32_t index) {
    Cannonball* ball = cannonballs[index];
    ball->life--;
    ball->x += ball->vx;
    ball->y += ball->vy;
    // 42 frames of flight, then 8 of splash; the splash itself can strike nothing.
    if (ball->life == 7) PlaySound(SoundMiss);
    if (ball->life < 0) {
        cannonballs.RemoveAt(index);
        return false;
    }
    return true;
}
