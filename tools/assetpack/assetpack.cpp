// assetpack: turns the picture sheets under assets/art into the game's constant tables.
//
//   assetpack <output-dir> <group.tables>...
//
// For every group file it writes <output-dir>/<group>_tables.cpp, which includes
// assets/<group>.h and defines each table the group lists. The format of the group
// files and of the sheets is described in assets/art/README.md. Any fault in a source
// (a colour outside the palette, a sheet too small for its frames) stops the build with
// a message naming the file and the place.

#include <png.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The game's 16 colours as RGB565; a sheet pixel must be exactly one of them.
const uint16_t kPalette565[16] = {0x1063, 0x4126, 0x31AD, 0x4A49, 0x8266, 0x3324, 0xD229, 0x738C,
                                  0x5BF9, 0xD3E5, 0x84B4, 0x6D45, 0xD553, 0x6E19, 0xDEAB, 0xDF7A};
const int kKeyIndex = 2;

struct Sheet {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // palette indices, row-major
};

[[noreturn]] void Fail(const std::string& message) {
    std::fprintf(stderr, "assetpack: %s\n", message.c_str());
    std::exit(1);
}

Sheet LoadPng(const std::string& path) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        Fail(path + ": " + image.message);
    image.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> rgba(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr))
        Fail(path + ": " + image.message);
    Sheet sheet;
    sheet.width = static_cast<int>(image.width);
    sheet.height = static_cast<int>(image.height);
    sheet.pixels.resize(static_cast<size_t>(sheet.width) * sheet.height);
    for (size_t i = 0; i < sheet.pixels.size(); i++) {
        const uint8_t* p = &rgba[i * 4];
        if (p[3] == 0) {
            sheet.pixels[i] = kKeyIndex;
            continue;
        }
        uint16_t c = static_cast<uint16_t>(((p[0] >> 3) << 11) | ((p[1] >> 2) << 5) | (p[2] >> 3));
        int index = -1;
        for (int k = 0; k < 16 && index < 0; k++)
            if (kPalette565[k] == c) index = k;
        if (index < 0 || p[3] != 255) {
            char where[160];
            std::snprintf(where, sizeof where, ": pixel (%d, %d) is #%02x%02x%02x alpha %d, not one of the game's colours",
                          static_cast<int>(i % sheet.width), static_cast<int>(i / sheet.width), p[0], p[1], p[2], p[3]);
            Fail(path + where);
        }
        sheet.pixels[i] = static_cast<uint8_t>(index);
    }
    return sheet;
}

// A text grid: hex digits are colour indices, '.' is the key; blanks are ignored and
// lines starting with '#' are comments.
Sheet LoadGrid(const std::string& path) {
    std::ifstream in(path);
    if (!in) Fail(path + ": cannot be read");
    Sheet sheet;
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        lineNumber++;
        if (!line.empty() && line[0] == '#') continue;
        std::vector<uint8_t> row;
        for (char ch : line) {
            if (std::isspace(static_cast<unsigned char>(ch))) continue;
            if (ch == '.') row.push_back(kKeyIndex);
            else if (ch >= '0' && ch <= '9') row.push_back(static_cast<uint8_t>(ch - '0'));
            else if (ch >= 'a' && ch <= 'f') row.push_back(static_cast<uint8_t>(ch - 'a' + 10));
            else Fail(path + ":" + std::to_string(lineNumber) + ": '" + ch + "' is not a colour");
        }
        if (row.empty()) continue;
        if (sheet.width == 0) sheet.width = static_cast<int>(row.size());
        if (static_cast<int>(row.size()) != sheet.width)
            Fail(path + ":" + std::to_string(lineNumber) + ": row is " + std::to_string(row.size()) +
                 " pixels wide, the sheet " + std::to_string(sheet.width));
        sheet.pixels.insert(sheet.pixels.end(), row.begin(), row.end());
        sheet.height++;
    }
    return sheet;
}

struct Table {
    std::string name;
    std::string source;
    int frameWidth = 0;
    int frameHeight = 0;
    int frames = 0;
    bool mask = false;
    int slot = 0;
};

// The bytes of every frame of one table, each frame in its slot.
std::vector<uint8_t> Pack(const Table& t, const Sheet& sheet, const std::string& where) {
    if (sheet.width % t.frameWidth != 0)
        Fail(where + ": sheet width " + std::to_string(sheet.width) + " is not a whole number of frames");
    int columns = sheet.width / t.frameWidth;
    int rowsNeeded = (t.frames + columns - 1) / columns;
    if (rowsNeeded * t.frameHeight > sheet.height)
        Fail(where + ": sheet holds fewer than " + std::to_string(t.frames) + " frames");
    int packed = t.mask ? t.frameWidth * ((t.frameHeight + 7) / 8) : t.frameWidth * t.frameHeight / 2;
    if (!t.mask && t.frameHeight % 2 != 0) Fail(where + ": a sprite's height must be even");
    if (t.slot < packed) Fail(where + ": slot is smaller than a packed frame");
    std::vector<uint8_t> out(static_cast<size_t>(t.slot) * t.frames, 0);
    for (int n = 0; n < t.frames; n++) {
        int ox = (n % columns) * t.frameWidth;
        int oy = (n / columns) * t.frameHeight;
        auto at = [&](int x, int y) { return sheet.pixels[static_cast<size_t>(oy + y) * sheet.width + ox + x]; };
        uint8_t* frame = &out[static_cast<size_t>(n) * t.slot];
        if (t.mask) {
            for (int band = 0; band * 8 < t.frameHeight; band++)
                for (int x = 0; x < t.frameWidth; x++) {
                    uint8_t bits = 0;
                    for (int b = 0; b < 8 && band * 8 + b < t.frameHeight; b++)
                        if (at(x, band * 8 + b) != kKeyIndex) bits |= static_cast<uint8_t>(1 << b);
                    frame[band * t.frameWidth + x] = bits;
                }
        } else {
            for (int d = 0; d < t.frameHeight / 2; d++)
                for (int x = 0; x < t.frameWidth; x++)
                    frame[d * t.frameWidth + x] = static_cast<uint8_t>(at(x, 2 * d) << 4 | at(x, 2 * d + 1));
        }
    }
    return out;
}

std::string DirOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string StemOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = file.find('.');
    return file.substr(0, dot);
}

void WriteIfChanged(const std::string& path, const std::string& text) {
    std::ifstream old(path, std::ios::binary);
    if (old) {
        std::stringstream current;
        current << old.rdbuf();
        if (current.str() == text) return;
    }
    std::ofstream out(path, std::ios::binary);
    out << text;
    if (!out) Fail(path + ": cannot be written");
}

void PackGroup(const std::string& manifest, const std::string& outDir) {
    std::ifstream in(manifest);
    if (!in) Fail(manifest + ": cannot be read");
    std::string group = StemOf(manifest);
    std::string text;
    text += "// Generated by tools/assetpack from assets/art/" + group + ".tables. Do not edit.\n";
    text += "#include \"" + group + ".h\"\n\n";
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        lineNumber++;
        std::string where = manifest + ":" + std::to_string(lineNumber);
        std::istringstream words(line);
        Table t;
        if (!(words >> t.name) || t.name[0] == '#') continue;
        std::string kind;
        if (!(words >> t.source >> t.frameWidth >> t.frameHeight >> t.frames >> kind))
            Fail(where + ": expected name, source, width, height, frames and kind");
        if (kind != "sprite" && kind != "mask") Fail(where + ": kind must be sprite or mask");
        t.mask = kind == "mask";
        t.slot = t.mask ? t.frameWidth * ((t.frameHeight + 7) / 8) : t.frameWidth * t.frameHeight;
        std::string extra;
        while (words >> extra) {
            if (extra.compare(0, 5, "slot=") == 0) t.slot = std::atoi(extra.c_str() + 5);
            else Fail(where + ": unknown option " + extra);
        }
        std::string source = DirOf(manifest) + "/" + t.source;
        bool grid = source.size() > 4 && source.compare(source.size() - 4, 4, ".txt") == 0;
        Sheet sheet = grid ? LoadGrid(source) : LoadPng(source);
        std::vector<uint8_t> bytes = Pack(t, sheet, where + " (" + t.source + ")");
        text += "extern const uint8_t " + t.name + "[" + std::to_string(bytes.size()) + "] = {";
        for (size_t i = 0; i < bytes.size(); i++) {
            if (i % 32 == 0) text += "\n";
            text += std::to_string(bytes[i]);
            text += ',';
        }
        text += "\n};\n\n";
    }
    WriteIfChanged(outDir + "/" + group + "_tables.cpp", text);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: assetpack <output-dir> <group.tables>...\n");
        return 2;
    }
    for (int i = 2; i < argc; i++) PackGroup(argv[i], argv[1]);
    return 0;
}
