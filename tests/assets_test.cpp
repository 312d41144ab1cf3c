// The packed picture tables against their source sheets: every frame of every table
// must hold exactly the pixels of its cell on the sheet.
#include <png.h>

#include <fstream>
#include <map>
#include <sstream>

#include "dialog.h"
#include "font.h"
#include "hud.h"
#include "sea.h"
#include "ships.h"
#include "test_support.h"
#include "title.h"

namespace {

#define TABLE(name) {#name, name}
const std::map<std::string, const uint8_t*> kTables = {
    TABLE(CoastEdgeFrames),    TABLE(CoastCornerFrames),  TABLE(LandFrames),         TABLE(PortCellFrames),
    TABLE(WhirlpoolFrames),    TABLE(RockFrames),         TABLE(BarrelFrames),       TABLE(CannonballFrames),
    TABLE(SplashFrames),       TABLE(PortMarkerFrames),   TABLE(GullFrames),         TABLE(CloudMasks8),
    TABLE(CloudMasks16),       TABLE(CloudMasks32),       TABLE(CloudMasks48),       TABLE(ShipFrames),
    TABLE(ShipOverlayMasks),   TABLE(WreckFrames),        TABLE(SinkingFrames),      TABLE(DialogFramePieces),
    TABLE(PortraitIdleFrames), TABLE(PortraitTalkFrames), TABLE(CreditPictures),     TABLE(GameOverFrames),
    TABLE(LogoStripA),         TABLE(LogoStripB),         TABLE(MenuCursorFrames),   TABLE(SoundOnMark),
    TABLE(SoundOffMark),       TABLE(FontGlyphs),         TABLE(GoldIconFrames),     TABLE(CargoIcon),
    TABLE(CompassDial),        TABLE(CompassArrowFrames), TABLE(HullIcon),           TABLE(CannonballIconFrames),
    TABLE(PickupIconFrames),   TABLE(MapFrame),
};
#undef TABLE

// A sheet the way an artist sees it: the palette index of each pixel (2 where it is
// clear), from a PNG's colours or a text sheet's hex digits ('.' clear).
struct Sheet {
    int32_t width = 0;
    Values index;
};
Sheet LoadSheet(const std::string& path) {
    Sheet sheet;
    if (path.compare(path.size() - 4, 4, ".txt") == 0) {
        std::ifstream in(path);
        for (std::string line; std::getline(in, line);) {
            const size_t before = sheet.index.size();
            for (const char ch : line)
                if (line[0] != '#' && (ch == '.' || std::isxdigit(static_cast<unsigned char>(ch))))
                    sheet.index.push_back(ch == '.' ? 2 : std::stoi(std::string(1, ch), nullptr, 16));
            if (sheet.index.size() > before) sheet.width = static_cast<int32_t>(sheet.index.size() - before);
        }
        return sheet;
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    EXPECT_TRUE(png_image_begin_read_from_file(&image, path.c_str())) << path;
    image.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> rgba(PNG_IMAGE_SIZE(image));
    EXPECT_TRUE(png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) << path;
    sheet.width = static_cast<int32_t>(image.width);
    for (size_t i = 0; i < rgba.size(); i += 4) {
        const uint16_t c = static_cast<uint16_t>((rgba[i] >> 3) << 11 | (rgba[i + 1] >> 2) << 5 | rgba[i + 2] >> 3);
        const int32_t found = PaletteIndex(c);
        sheet.index.push_back(rgba[i + 3] != 0 && found < 16 ? found : 2);
    }
    return sheet;
}

using AssetsTest = GameTest;

TEST_F(AssetsTest, EveryFrameShowsItsCellOfTheSheet) {
    size_t tables = 0;
    for (const char* group : {"font", "sea", "ships", "dialog", "title", "hud"}) {
        std::ifstream in(std::string("assets/art/") + group + ".tables");
        ASSERT_TRUE(in.good()) << group;
        for (std::string line; std::getline(in, line);) {
            // name, sheet, width, height, frames, "mask" or not, and a slot size if not the usual
            std::istringstream words(line);
            std::string name, source, kind, option;
            int32_t w = 0, h = 0, frames = 0;
            if (!(words >> name) || name[0] == '#') continue;
            words >> source >> w >> h >> frames >> kind;
            const bool mask = kind == "mask";
            int32_t slot = mask ? w * ((h + 7) / 8) : w * h;
            while (words >> option)
                if (option.rfind("slot=", 0) == 0) slot = std::stoi(option.substr(5));
            SCOPED_TRACE(name);
            const auto table = kTables.find(name);
            ASSERT_NE(table, kTables.end()) << "no table of that name in the headers";
            tables++;
            const Sheet sheet = LoadSheet("assets/art/" + source);
            for (int32_t n = 0; n < frames; n++) {
                const int32_t ox = n % (sheet.width / w) * w, oy = n / (sheet.width / w) * h;
                const uint8_t* frame = table->second + static_cast<size_t>(slot) * n;
                // A mask holds a bit for each pixel, eight rows to a byte; a picture the
                // palette indexes of two rows to a byte, the upper row's in the high half.
                for (int32_t y = 0; y < h; y++)
                    for (int32_t x = 0; x < w; x++) {
                        const int32_t want = sheet.index[(oy + y) * sheet.width + ox + x];
                        const int32_t held = mask ? frame[y / 8 * w + x] >> (y % 8) & 1
                                                  : frame[y / 2 * w + x] >> (y % 2 == 0 ? 4 : 0) & 15;
                        ASSERT_TRUE(mask ? (held == 1) == (want != 2) : Colour(held) == Colour(want))
                            << "frame " << n << " pixel " << x << ", " << y << ": " << held << " for " << want;
                    }
            }
        }
    }
    EXPECT_EQ(tables, kTables.size());
}

}  // namespace
