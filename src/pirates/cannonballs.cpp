#include "pirates/cannonballs.h"

#include "platform/audio.h"
#include "world/world.h"

void FireCannonball(Ship* ship, int32_t side, bool fromPlayer) {
    PlaySound(SoundShoot);
    ship->fireSide = side;
    ship->fireCooldown = kBroadsideFrames;
    // Heading (1, 0) fires starboard straight down (0, 1) and port straight up (0, -1).
    const int32_t turn = side == 1 ? 1 : -1;
    cannonballs.Append(new Cannonball{kBallFrames, fromPlayer, ship->x + ship->headingX, ship->y, -turn * ship->headingY,
                                      turn * ship->headingX});
}

void AdvanceCannonballs() {
    for (int32_t i = cannonballs.Count() - 1; i >= 0; i--) {
        Cannonball* ball = cannonballs[i];
        ball->life--;
        ball->x += ball->vx;
        ball->y += ball->vy;
        // The splash as it drops into the water.
        if (ball->life == kSplashFrames - 1) PlaySound(SoundMiss);
        if (ball->life < 0) cannonballs.RemoveAt(i);
    }
}
