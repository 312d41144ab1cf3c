#include "harness/screenshot.h"

#include <png.h>

#include <cstring>
#include <vector>

#include "platform/frame.h"

bool SavePng(const char* path, const uint16_t* pixels, int32_t width, int32_t height, int32_t scale) {
    const int32_t w = width * scale;
    const int32_t h = height * scale;
    std::vector<uint8_t> rgb(static_cast<size_t>(w) * h * 3);
    for (int32_t y = 0; y < h; y++)
        for (int32_t x = 0; x < w; x++) {
            const uint32_t colour = Rgb888(pixels[(y / scale) * width + x / scale]);
            uint8_t* out = &rgb[(static_cast<size_t>(y) * w + x) * 3];
            out[0] = static_cast<uint8_t>(colour >> 16);
            out[1] = static_cast<uint8_t>(colour >> 8);
            out[2] = static_cast<uint8_t>(colour);
        }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(w);
    image.height = static_cast<png_uint_32>(h);
    image.format = PNG_FORMAT_RGB;
    return png_image_write_to_file(&image, path, 0, rgb.data(), 0, nullptr) != 0;
}
