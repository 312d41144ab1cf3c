// Saving pictures of the game as PNG files, for tests, replays and the docs.
#pragma once
#include <cstdint>

// Writes width x height RGB565 pixels (row-major) as an RGB PNG, each pixel magnified
// to scale x scale. Returns false when the file cannot be written.
bool SavePng(const char* path, const uint16_t* pixels, int32_t width, int32_t height, int32_t scale);
