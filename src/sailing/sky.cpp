#include "sailing/sky.h"

#include <cstdlib>

#include "platform/frame.h"
#include "world/world.h"

void FlyGulls() {
    for (const auto& slot : gulls) {
        Gull* gull = slot.get();
        if (gull == nullptr) continue;
        gull->flap++;
        if (gull->flap > 15) gull->flap = 0;
        if (gull->x == gull->targetX && gull->y == gull->targetY) {
            gull->targetX = std::rand() % gull->rangeX;
            gull->targetY = std::rand() % gull->rangeY;
        } else {
            gull->stepX = Sign(gull->targetX - gull->x);
            gull->stepY = Sign(gull->targetY - gull->y);
            gull->x += gull->stepX;
            gull->y += gull->stepY;
        }
    }
}

void DriftClouds() {
    if (frameCounter % 40 != 0) return;
    for (const auto& slot : clouds) {
        Cloud* cloud = slot.get();
        if (cloud == nullptr) continue;
        cloud->x--;
        if (cloud->x < -48) cloud->x = cloud->wrapX + 29;
        cloud->y++;
        if (cloud->y > cloud->wrapY + 5) cloud->y = -83;
        cloud->frame++;
        if (cloud->frame > 7) cloud->frame = 0;
    }
}
