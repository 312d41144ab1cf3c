// The packed picture tables against their source sheets: every frame of every table,
// drawn by the game's own blitters (or read bit by bit for the one-bit masks), must
// show exactly the pixels of its cell on the sheet.
#include <png.h>

#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

#include "dialog.h"
#include "font.h"
#include "render/sprite.h"
#include "sea.h"
#include "ships.h"
#include "test_support.h"
#include "title.h"

namespace {

const std::map<std::string, const uint8_t*> kTables = {
    {"CoastEdgeFrames", CoastEdgeFrames},     {"CoastCornerFrames", CoastCornerFrames},
    {"LandFrames", LandFrames},               {"PortCellFrames", PortCellFrames},
    {"WhirlpoolFrames", WhirlpoolFrames},     {"RockFrames", RockFrames},
    {"BarrelFrames", BarrelFrames},           {"CannonballFrames", CannonballFrames},
    {"SplashFrames", SplashFrames},           {"PortMarkerFrames", PortMarkerFrames},
    {"GullFrames", GullFrames},               {"CloudMasks8", CloudMasks8},
    {"CloudMasks16", CloudMasks16},           {"CloudMasks32", CloudMasks32},
    {"CloudMasks48", CloudMasks48},           {"ShipFrames", ShipFrames},
    {"ShipOverlayMasks", ShipOverlayMasks},   {"WreckFrames", WreckFrames},
    {"SinkingFrames", SinkingFrames},         {"DialogFramePieces", DialogFramePieces},
    {"PortraitIdleFrames", PortraitIdleFrames}, {"PortraitTalkFrames", PortraitTalkFrames},
    {"CreditPictures", CreditPictures},       {"GameOverFrames", GameOverFrames},
    {"LogoStripA", LogoStripA},               {"LogoStripB", LogoStripB},
    {"MenuCursorFrames", MenuCursorFrames},   {"SoundOnMark", SoundOnMark},
    {"SoundOffMark", SoundOffMark},           {"FontGlyphs", FontGlyphs},
};

struct Sheet {
    int width = 0, height = 0;
    std::vector<int> index;  // palette index of each pixel
};

// Reads a sheet the way an artist sees it: RGB colours matched to the palette.
Sheet LoadSheet(const std::string& path) {
    Sheet sheet;
    if (path.size() > 4 && path.compare(path.size() - 4, 4, ".txt") == 0) {
        std::ifstream in(path);
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line[0] == '#') continue;
            int before = static_cast<int>(sheet.index.size());
            for (char ch : line) {
                if (ch == '.') sheet.index.push_back(2);
                else if (std::isxdigit(static_cast<unsigned char>(ch))) sheet.index.push_back(std::stoi(std::string(1, ch), nullptr, 16));
            }
            int row = static_cast<int>(sheet.index.size()) - before;
            if (row == 0) continue;
            sheet.width = row;
            sheet.height++;
        }
        return sheet;
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    EXPECT_TRUE(png_image_begin_read_from_file(&image, path.c_str())) << path;
    image.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> rgba(PNG_IMAGE_SIZE(image));
    EXPECT_TRUE(png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) << path;
    sheet.width = static_cast<int>(image.width);
    sheet.height = static_cast<int>(image.height);
    for (size_t i = 0; i < rgba.size(); i += 4) {
        uint16_t c = static_cast<uint16_t>((rgba[i] >> 3) << 11 | (rgba[i + 1] >> 2) << 5 | rgba[i + 2] >> 3);
        int found = 2;
        for (int k = 0; k < 16; k++)
            if (rgba[i + 3] != 0 && Palette[k] == c) found = k;
        sheet.index.push_back(found);
    }
    return sheet;
}

struct TableLine {
    std::string name, source;
    int w = 0, h = 0, frames = 0, slot = 0;
    bool mask = false;
};

std::vector<TableLine> ReadTables() {
    std::vector<TableLine> lines;
    for (const char* group : {"font", "sea", "ships", "dialog", "title"}) {
        std::ifstream in(std::string("assets/art/") + group + ".tables");
        EXPECT_TRUE(in.good()) << group;
        std::string text;
        while (std::getline(in, text)) {
            std::istringstream words(text);
            TableLine t;
            std::string kind, option;
            if (!(words >> t.name) || t.name[0] == '#') continue;
            words >> t.source >> t.w >> t.h >> t.frames >> kind;
            t.mask = kind == "mask";
            t.slot = t.mask ? t.w * ((t.h + 7) / 8) : t.w * t.h;
            while (words >> option)
                if (option.rfind("slot=", 0) == 0) t.slot = std::stoi(option.substr(5));
            lines.push_back(t);
        }
    }
    return lines;
}

class AssetsTest : public GameTest {};

TEST_F(AssetsTest, EveryFrameShowsItsCellOfTheSheet) {
    const uint16_t outside = 0x0001;  // no palette colour: shows where nothing was drawn
    std::vector<TableLine> lines = ReadTables();
    EXPECT_EQ(lines.size(), kTables.size());
    for (const TableLine& t : lines) {
        SCOPED_TRACE(t.name);
        auto table = kTables.find(t.name);
        ASSERT_NE(table, kTables.end()) << "no table of that name in the headers";
        Sheet sheet = LoadSheet("assets/art/" + t.source);
        int columns = sheet.width / t.w;
        for (int n = 0; n < t.frames; n++) {
            int ox = (n % columns) * t.w, oy = (n / columns) * t.h;
            const uint8_t* frame = table->second + static_cast<size_t>(t.slot) * n;
            auto sheetAt = [&](int x, int y) { return sheet.index[static_cast<size_t>(oy + y) * sheet.width + ox + x]; };
            if (t.mask) {
                for (int y = 0; y < t.h; y++)
                    for (int x = 0; x < t.w; x++)
                        ASSERT_EQ((frame[(y / 8) * t.w + x] >> (y % 8)) & 1, sheetAt(x, y) != 2)
                            << "frame " << n << " pixel " << x << "," << y;
                continue;
            }
            int left = 0;
            FillFrame(outside);
            if (t.w == 8 && t.h == 8) DrawSprite8x8(0, 0, frame, SeaKey());
            else if (t.w == 16 && t.h == 16) DrawSprite16x16(0, 0, frame, SeaKey());
            else if (t.w == 24 && t.h == 24) DrawSprite24x24(0, 0, frame, SeaKey());
            else if (t.w == 56 && t.h == 56) DrawPortrait56x56(0, frame, SeaKey()), left = 11;
            else break;  // the large pictures are drawn by their screens' own loops
            for (int y = 0; y < t.h; y++)
                for (int x = 0; x < t.w; x++) {
                    int want = sheetAt(x, y);
                    ASSERT_EQ(At(left + x, y), want == 2 ? outside : Colour(want))
                        << "frame " << n << " pixel " << x << "," << y;
                }
        }
    }
}

}  // namespace
