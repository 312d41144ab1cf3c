#include "sailing/camera.h"

#include "world/world.h"

int32_t camCellX;
int32_t camCellY;
int32_t camSubX;
int32_t camSubY;

void PlaceCamera() {
    camCellX = player->x / kCellSize - 5;
    camCellY = player->y / kCellSize - 3;
    camSubX = player->x % kCellSize;
    camSubY = player->y % kCellSize;
}
