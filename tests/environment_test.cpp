// The game on machines that lack what it expects: broken, hostile or missing sounds, no
// sound device, a pad pulled out mid-game, a window dragged to any size, no display at
// all, a sound system that fails, a window destroyed under it. It plays on (silent
// where the sound is missing), quits in order, or says in one line why it cannot.
#include <SDL.h>
#include <SDL_mixer.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <fstream>
#include <thread>

#include "flow/dialog.h"
#include "test_support.h"
#include "platform/video.h"
#include "platform/wavfile.h"

namespace {

namespace fs = std::filesystem;
using FlowTest = GameTest;

uint64_t Hash(const uint16_t* pixels, size_t count) {
    uint64_t hash = 14695981039346656037u;
    for (size_t i = 0; i < count; i++) hash = (hash ^ pixels[i]) * 1099511628211u;
    return hash;
}

class EnvironmentTest : public GameTest {
protected:
    std::vector<uint64_t> shown;  // every frame's picture, hashed

    void Frame() {
        RunHeadlessFrame();
        shown.push_back(Hash(shownFrame, kScreenWidth * kScreenHeight));
    }
    void PressOnce(int32_t button) {
        SetButtonKey(button, true);
        Frame();
        SetButtonKey(button, false);
        Frame();
    }
    // From the first frame to the first islands, past their opening words: the credits,
    // Play, the high score (a player with a best skips the welcome), a new game.
    void SailFromBoot() {
        srand(5);
        SaveHighScore(40);
        for (int32_t i = 0; i < 2; i++) Frame();
        for (int32_t i = 0; i < 5; i++) PressOnce(ButtonA);
        for (int32_t page = 0; overlayMode == OverlayDialog && page < 20; page++) {
            for (int32_t i = 0; i < 100; i++) Frame();
            PressOnce(ButtonA);
        }
        ASSERT_EQ(GameState, ScreenSailing);
        ASSERT_EQ(overlayMode, OverlayNone);
    }
};

// A copy of data/ in a folder of its own, damaged one way, where the game is started.
void CopyData(const std::string& to) {
    fs::create_directories(to + "/data");
    for (const auto& entry : fs::directory_iterator("data"))
        fs::copy_file(entry.path(), to + "/data/" + entry.path().filename().string());
}

void EachWav(const std::string& data, void (*damage)(const fs::path& wav, int32_t number)) {
    std::vector<fs::path> wavs;
    for (const auto& entry : fs::directory_iterator(data)) wavs.push_back(entry.path());
    std::sort(wavs.begin(), wavs.end());
    for (size_t i = 0; i < wavs.size(); i++) damage(wavs[i], static_cast<int32_t>(i));
}

// Closes the sound device however many times it was opened, and SDL's sound with it.
void CloseSoundDevice() {
    while (Mix_QuerySpec(nullptr, nullptr, nullptr) != 0) Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

int32_t Loaded() {
    int32_t loaded = 0;
    for (Mix_Chunk* sound : sounds) loaded += sound != nullptr;
    for (_Mix_Music* track : musicTracks) loaded += track != nullptr;
    return loaded;
}

TEST_F(EnvironmentTest, BrokenSoundsOrNoSoundDeviceChangeNothingButTheSound) {
    struct Case {
        const char* name;
        void (*damage)(const std::string& data);
        int32_t loaded;  // of the 15 sounds and tracks
        int32_t music;   // whether the sailing music is heard
    } cases[] = {
        {"every sound in place", [](const std::string&) {}, 15, 1},
        {"no data folder", [](const std::string& data) { fs::remove_all(data); }, 0, 0},
        {"every other file missing",
         [](const std::string& data) { EachWav(data, [](const fs::path& wav, int32_t n) { if (n % 2) fs::remove(wav); }); },
         8, 0},
        {"files cut off in their header",
         [](const std::string& data) { EachWav(data, [](const fs::path& wav, int32_t) { fs::resize_file(wav, 30); }); },
         0, 0},
        {"files cut off in their samples",
         [](const std::string& data) {
             EachWav(data, [](const fs::path& wav, int32_t) { fs::resize_file(wav, fs::file_size(wav) * 3 / 5 + 1); });
         },
         0, 0},
        {"nonsense in the format",
         [](const std::string& data) {
             EachWav(data, [](const fs::path& wav, int32_t n) {
                 // The channel count, sample rate and bits per sample of the "fmt " chunk.
                 std::fstream file(wav, std::ios::in | std::ios::out | std::ios::binary);
                 file.seekp(22);
                 const char junk[] = {static_cast<char>(n * 37), 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3};
                 file.write(junk, sizeof junk);
             });
         },
         0, 0},
        {"text files named .wav",
         [](const std::string& data) {
             EachWav(data, [](const fs::path& wav, int32_t) { std::ofstream(wav) << "Not a sound at all.\n"; });
         },
         0, 0},
        {"empty files", [](const std::string& data) { EachWav(data, [](const fs::path& wav, int32_t) { std::ofstream{wav}; }); }, 0, 0},
        {"no sound device", [](const std::string&) { setenv("SDL_AUDIODRIVER", "none-such", 1); }, 3, 0},
    };
    char top[4096];
    ASSERT_NE(getcwd(top, sizeof top), nullptr);
    std::vector<uint64_t> pictures;
    std::vector<std::string> asked;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        dialog.portraitFrame = 0;  // the speakers' faces move on from dialog to dialog
        const std::string place = home + "/game";
        CopyData(place);
        c.damage(place + "/data");
        CloseSoundDevice();  // so that the boot opens it anew
        shown.clear();
        ASSERT_EQ(chdir(place.c_str()), 0);
        SailFromBoot();
        for (int32_t i = 0; i < 30; i++) {
            SetButtonKey(ButtonRight, i < 20);
            Frame();
        }
        SDL_Delay(100);  // the sound device's thread plays what there is meanwhile
        ASSERT_EQ(chdir(top), 0);
        setenv("SDL_AUDIODRIVER", "dummy", 1);

        EXPECT_EQ(Loaded(), c.loaded);
        EXPECT_EQ(Mix_PlayingMusic(), c.music);
        // Every frame as with every sound in place, and the same sounds asked for.
        if (pictures.empty()) pictures = shown, asked = heard;
        EXPECT_TRUE(shown == pictures);
        EXPECT_EQ(heard, asked);
        FreeAudio();
        CloseSoundDevice();
    }
    EXPECT_EQ(std::count(asked.begin(), asked.end(), "music ingame"), 1);  // the sailing music was asked for
}

// Writes value into wav at byte at, little-endian, in the given number of bytes.
void Poke(std::vector<uint8_t>& wav, size_t at, uint32_t value, int32_t bytes) {
    for (int32_t b = 0; b < bytes; b++) wav[at + b] = static_cast<uint8_t>(value >> (8 * b));
}

// Puts a chunk named name, of the given length (and its pad byte when odd, unless
// told not to), before the "fmt " chunk, growing the RIFF size to match.
void InsertChunk(std::vector<uint8_t>& wav, const char* name, uint32_t length, bool pad = true) {
    std::vector<uint8_t> chunk(name, name + 4);
    chunk.resize(8 + length + (pad ? length % 2 : 0), 'x');
    Poke(chunk, 4, length, 4);
    wav.insert(wav.begin() + 12, chunk.begin(), chunk.end());
    Poke(wav, 4, static_cast<uint32_t>(wav.size() - 8), 4);
}

// One change to a sound file as the game's own are laid out (16-bit mono at 22050 Hz:
// "fmt " at byte 12, its fields from 20, "data" at 36, its length at 40), and whether
// the file is still one to play.
struct Damage {
    const char* name;
    void (*change)(std::vector<uint8_t>& wav);
    bool playable;
};

const Damage kDamages[] = {
    {"as made", [](std::vector<uint8_t>&) {}, true},
    {"RIFF size 0", [](std::vector<uint8_t>& w) { Poke(w, 4, 0, 4); }, false},
    {"RIFF size past the end", [](std::vector<uint8_t>& w) { Poke(w, 4, static_cast<uint32_t>(w.size() - 6), 4); }, false},
    {"RIFF size ending in the samples", [](std::vector<uint8_t>& w) { Poke(w, 4, static_cast<uint32_t>(w.size() - 10), 4); }, false},
    {"RIFF size 4 GB", [](std::vector<uint8_t>& w) { Poke(w, 4, 0xFFFFFFFF, 4); }, false},
    {"not WAVE", [](std::vector<uint8_t>& w) { w[11] = 'X'; }, false},
    {"no fmt chunk", [](std::vector<uint8_t>& w) { w[14] = 'x'; }, false},
    {"fmt size 0", [](std::vector<uint8_t>& w) { Poke(w, 16, 0, 4); }, false},
    {"fmt size 2", [](std::vector<uint8_t>& w) { Poke(w, 16, 2, 4); }, false},
    {"fmt size 17", [](std::vector<uint8_t>& w) { Poke(w, 16, 17, 4); }, false},
    {"fmt size 18", [](std::vector<uint8_t>& w) { Poke(w, 16, 18, 4); }, false},
    {"fmt size 4 GB", [](std::vector<uint8_t>& w) { Poke(w, 16, 0xFFFFFFF0, 4); }, false},
    {"compressed", [](std::vector<uint8_t>& w) { Poke(w, 20, 2, 2); }, false},
    {"floating point", [](std::vector<uint8_t>& w) { Poke(w, 20, 3, 2); }, false},
    {"extensible format", [](std::vector<uint8_t>& w) { Poke(w, 20, 0xFFFE, 2); }, false},
    {"no channels", [](std::vector<uint8_t>& w) { Poke(w, 22, 0, 2); }, false},
    {"3 channels", [](std::vector<uint8_t>& w) { Poke(w, 22, 3, 2), Poke(w, 28, 132300, 4), Poke(w, 32, 6, 2); }, false},
    {"stereo", [](std::vector<uint8_t>& w) {
         Poke(w, 22, 2, 2), Poke(w, 28, 88200, 4), Poke(w, 32, 4, 2);
         Poke(w, 40, (w[40] | w[41] << 8 | w[42] << 16 | w[43] << 24) & ~3u, 4);  // whole sample frames
     },
     true},
    {"8 bits", [](std::vector<uint8_t>& w) { Poke(w, 34, 8, 2), Poke(w, 28, 22050, 4), Poke(w, 32, 1, 2); }, true},
    {"12 bits", [](std::vector<uint8_t>& w) { Poke(w, 34, 12, 2); }, false},
    {"24 bits", [](std::vector<uint8_t>& w) { Poke(w, 34, 24, 2), Poke(w, 28, 66150, 4), Poke(w, 32, 3, 2); }, false},
    {"1 Hz", [](std::vector<uint8_t>& w) { Poke(w, 24, 1, 4), Poke(w, 28, 2, 4); }, false},
    {"7999 Hz", [](std::vector<uint8_t>& w) { Poke(w, 24, 7999, 4), Poke(w, 28, 15998, 4); }, false},
    {"8000 Hz", [](std::vector<uint8_t>& w) { Poke(w, 24, 8000, 4), Poke(w, 28, 16000, 4); }, true},
    {"96000 Hz", [](std::vector<uint8_t>& w) { Poke(w, 24, 96000, 4), Poke(w, 28, 192000, 4); }, true},
    {"96001 Hz", [](std::vector<uint8_t>& w) { Poke(w, 24, 96001, 4), Poke(w, 28, 192002, 4); }, false},
    {"4 GHz", [](std::vector<uint8_t>& w) { Poke(w, 24, 0xFFFFFFFF, 4), Poke(w, 28, 0xFFFFFFFE, 4); }, false},
    {"byte rate not the rate's", [](std::vector<uint8_t>& w) { Poke(w, 28, 1000, 4); }, false},
    {"block size 0", [](std::vector<uint8_t>& w) { Poke(w, 32, 0, 2); }, false},
    {"no data chunk", [](std::vector<uint8_t>& w) { w[39] = 'x'; }, false},
    {"data size 0", [](std::vector<uint8_t>& w) { Poke(w, 40, 0, 4); }, false},
    {"data size odd", [](std::vector<uint8_t>& w) { Poke(w, 40, static_cast<uint32_t>(w.size() - 45), 4); }, false},
    {"data size past the end", [](std::vector<uint8_t>& w) { Poke(w, 40, static_cast<uint32_t>(w.size() - 42), 4); }, false},
    {"data size 2 GB", [](std::vector<uint8_t>& w) { Poke(w, 40, 0x80000000, 4); }, false},
    {"data size 4 GB", [](std::vector<uint8_t>& w) { Poke(w, 40, 0xFFFFFFF0, 4); }, false},
    {"a sample short", [](std::vector<uint8_t>& w) { Poke(w, 40, static_cast<uint32_t>(w.size() - 46), 4); }, true},
    {"one sample", [](std::vector<uint8_t>& w) { Poke(w, 40, 2, 4); }, true},
    {"data where fmt should be", [](std::vector<uint8_t>& w) { std::copy_n("data", 4, w.begin() + 12); }, false},
    {"a fact chunk first", [](std::vector<uint8_t>& w) { InsertChunk(w, "fact", 4); }, true},
    {"a LIST chunk first", [](std::vector<uint8_t>& w) { InsertChunk(w, "LIST", 10); }, true},
    {"an odd LIST chunk first", [](std::vector<uint8_t>& w) { InsertChunk(w, "LIST", 9); }, false},
    {"an odd LIST chunk first, unpadded", [](std::vector<uint8_t>& w) { InsertChunk(w, "LIST", 9, false); }, false},
    {"two fmt chunks", [](std::vector<uint8_t>& w) {
         const std::vector<uint8_t> format(w.begin() + 12, w.begin() + 36);
         w.insert(w.begin() + 36, format.begin(), format.end());
         Poke(w, 4, static_cast<uint32_t>(w.size() - 8), 4);
     },
     false},
    {"stereo, half a sample frame over", [](std::vector<uint8_t>& w) {
         Poke(w, 22, 2, 2), Poke(w, 28, 88200, 4), Poke(w, 32, 4, 2);
         Poke(w, 40, ((w[40] | w[41] << 8 | w[42] << 16 | w[43] << 24) & ~3u) - 2, 4);
     },
     false},
    {"a JUNK chunk first", [](std::vector<uint8_t>& w) { InsertChunk(w, "JUNK", 10); }, false},
    {"cut off in its header", [](std::vector<uint8_t>& w) { w.resize(30); }, false},
    {"cut off in its samples", [](std::vector<uint8_t>& w) { w.resize(w.size() * 3 / 5 + 1); }, false},
    {"empty", [](std::vector<uint8_t>& w) { w.clear(); }, false},
    {"text", [](std::vector<uint8_t>& w) { w.assign({'N', 'o', 't', ' ', 'a', ' ', 's', 'o', 'u', 'n', 'd', '\n'}); }, false},
};

std::vector<uint8_t> Bytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

void WriteBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
    fs::remove(path);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// Kilobytes of this process held in memory now.
int64_t ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::atoll(line.c_str() + 6);
    return 0;
}

// Every change of the table to every sound file, checked as the loader checks them; then
// the menu music and the first effect damaged alike, replaced by a pipe or by a terminal
// nobody types into, or made whole sounds too large to read, each booted in a process of
// its own: the boot loads the rest and goes on, within a watchdog of five seconds and
// 64 MB of memory beyond the test's own.
TEST_F(EnvironmentTest, EveryDamagedSoundIsLeftOutAndTheBootGoesOnAtOnce) {
    std::vector<fs::path> wavs;
    for (const auto& entry : fs::directory_iterator("data")) wavs.push_back(entry.path());
    std::sort(wavs.begin(), wavs.end());
    for (const fs::path& wav : wavs) {
        const std::vector<uint8_t> made = Bytes(wav);
        ASSERT_TRUE(made.size() > 44 && std::string(made.begin() + 36, made.begin() + 40) == "data") << wav;
        for (const Damage& damage : kDamages) {
            std::vector<uint8_t> damaged = made;
            damage.change(damaged);
            EXPECT_EQ(IsPlayableWav(damaged.data(), damaged.size()), damage.playable) << wav << ": " << damage.name;
        }
    }

    const std::string place = home + "/game";
    CopyData(place);
    const fs::path music = place + "/data/menu.wav", effect = place + "/data/beep.wav";
    const std::vector<uint8_t> musicMade = Bytes(music), effectMade = Bytes(effect);
    int terminal = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_TRUE(terminal >= 0 && grantpt(terminal) == 0 && unlockpt(terminal) == 0);
    const std::string terminalPath = ptsname(terminal);
    struct Boot {
        std::string name;
        const Damage* damage;  // or one of these in place of both files
        bool pipe, device, huge;
    };
    std::vector<Boot> boots;
    for (const Damage& damage : kDamages) boots.push_back({damage.name, &damage, false, false, false});
    boots.push_back({"a pipe", nullptr, true, false, false});
    boots.push_back({"a terminal", nullptr, false, true, false});
    boots.push_back({"a sound past 16 MB", nullptr, false, false, true});
    CloseSoundDevice();  // each boot opens its own
    const int64_t before = ResidentKilobytes();
    int64_t slowest = 0, largest = 0;
    for (const Boot& boot : boots) {
        SCOPED_TRACE(boot.name);
        for (const auto& [path, made] : {std::pair{music, &musicMade}, {effect, &effectMade}}) {
            fs::remove(path);
            if (boot.pipe) {
                mkfifo(path.c_str(), 0644);
            } else if (boot.device) {
                fs::create_symlink(terminalPath, path);
            } else if (boot.huge) {
                std::vector<uint8_t> huge = *made;  // a whole sound, one sample frame too long
                huge.resize(kMaxWavBytes + 2);
                Poke(huge, 4, static_cast<uint32_t>(huge.size() - 8), 4);
                Poke(huge, 40, static_cast<uint32_t>(huge.size() - 44), 4);
                WriteBytes(path, huge);
            } else {
                std::vector<uint8_t> damaged = *made;
                boot.damage->change(damaged);
                WriteBytes(path, damaged);
            }
        }
        const auto start = std::chrono::steady_clock::now();
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            alarm(5);
            const rlimit memory = {1u << 30, 1u << 30};  // beyond the test's own: a guard for the machine
            rlimit now;
            getrlimit(RLIMIT_AS, &now);
            if (now.rlim_cur == RLIM_INFINITY) setrlimit(RLIMIT_AS, &memory);
            if (chdir(place.c_str()) != 0) _exit(100);
            for (int32_t i = 0; i < 3; i++) RunHeadlessFrame();  // the boot, then the first credits page
            _exit(Loaded());
        }
        int status = 0;
        rusage used = {};
        wait4(child, &status, 0, &used);
        const int64_t took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
        slowest = std::max(slowest, took);
        largest = std::max<int64_t>(largest, used.ru_maxrss - before);
        const bool playable = boot.damage != nullptr && boot.damage->playable;
        EXPECT_TRUE(WIFEXITED(status)) << (WIFSIGNALED(status) ? strsignal(WTERMSIG(status)) : "");
        EXPECT_EQ(WEXITSTATUS(status), playable ? 15 : 13);
        EXPECT_LT(used.ru_maxrss - before, 64 << 10) << "kB beyond the test's own";
    }
    pollfd read = {terminal, POLLIN, 0};
    EXPECT_EQ(poll(&read, 1, 0), 0);
    close(terminal);
    std::cout << boots.size() << " damaged boots: the slowest took " << slowest << " ms and at most " << largest / 1024
              << " MB beyond the test's own\n";
}

// The pad as SDL itself reports it, before any test scripts it.
int32_t (*const sdlPadButtonCount)() = joystickButtonCount;
int32_t (*const sdlPadButton)(int32_t b) = joystickButton;

TEST_F(EnvironmentTest, APadPulledOutMidGameLetsGoOfItsButtonsAndWorksAgainWhenBack) {
    // The pad as SDL finds it (on the test machines, none): the keyboard plays.
    SDL_InitSubSystem(SDL_INIT_JOYSTICK);
    joystickButtonCount = sdlPadButtonCount, joystickButton = sdlPadButton;
    SailFromBoot();
    Ship before = *player;
    SetButtonKey(ButtonDown, true);
    Frame();
    SetButtonKey(ButtonDown, false);
    Frame();
    EXPECT_EQ(player->y, before.y + 1);  // the one frame the key was down
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);

    // Pad button 9 is Right. Each frame steers by what the frame before sampled.
    StartHeadless();
    SetPadConnected(true);
    SetPadButton(9, true);
    before = *player;
    for (int32_t i = 0; i < 10; i++) Frame();
    EXPECT_EQ(player->x, before.x + 9);
    SetPadConnected(false);  // pulled out with Right held
    for (int32_t i = 0; i < 10; i++) Frame();
    EXPECT_EQ(player->x, before.x + 10);
    // Buttons of a pad that is not there do nothing; back in with nothing held, it
    // steers again.
    SetPadButton(9, false);
    SetPadButton(6, true);  // Down
    Frame();
    SetPadConnected(true);
    SetPadButton(6, false);
    for (int32_t i = 0; i < 3; i++) Frame();
    EXPECT_EQ(player->y, before.y);
    SetPadButton(8, true);  // Up
    for (int32_t i = 0; i < 4; i++) Frame();
    EXPECT_EQ(player->y, before.y - 3);
    EXPECT_EQ(std::vector<int32_t>({player->x, overlayMode, GameState}),
              std::vector<int32_t>({before.x + 10, OverlayNone, ScreenSailing}));
}

// The window's pixel at (x, y), as the last flip left it.
uint16_t WindowPixel(int32_t x, int32_t y) {
    SDL_Surface* window = SDL_GetVideoSurface();
    return reinterpret_cast<const uint16_t*>(static_cast<const uint8_t*>(window->pixels) + y * window->pitch)[x];
}

TEST_F(EnvironmentTest, AWindowDraggedToAnySizeShowsTheWholePicture) {
    ASSERT_TRUE(OpenWindow());  // SDL's dummy screen, as the tests ask for it
    // Blocks of 20 x 60 pixels in sixteen colours: 8 across, 2 down.
    struct Size { int32_t w, h; } sizes[] = {{1, 1}, {4000, 3000}, {320, 240}, {161, 7}, {1, 1}, {320, 240}};
    for (const Size& size : sizes) {
        SCOPED_TRACE(std::to_string(size.w) + " x " + std::to_string(size.h));
        SDL_Event resize = {};
        resize.type = SDL_VIDEORESIZE;
        resize.resize.w = size.w, resize.resize.h = size.h;
        SDL_PushEvent(&resize);
        EXPECT_FALSE(DrainEvents());
        for (int32_t i = 0; i < kScreenWidth * kScreenHeight; i++)
            FrameBuffer[i] = Colour(i % kScreenWidth / 20 + i / kScreenWidth / 60 * 8);
        PresentToWindow();
        SDL_Surface* window = SDL_GetVideoSurface();
        ASSERT_EQ(std::vector<int32_t>({window->w, window->h, windowWidth, windowHeight, window->format->BitsPerPixel}),
                  std::vector<int32_t>({size.w, size.h, size.w, size.h, 16}));
        // The middle of every block lands on its colour; at 320 x 240 every pixel is doubled.
        if (size.w < 16 || size.h < 4) continue;
        for (int32_t block = 0; block < 16; block++)
            EXPECT_EQ(WindowPixel((block % 8 * 20 + 10) * size.w / kScreenWidth, (block / 8 * 60 + 30) * size.h / kScreenHeight),
                      Colour(block)) << "block " << block;
        if (size.w != 320) continue;
        int32_t wrong = 0;
        for (int32_t y = 0; y < 240; y++)
            for (int32_t x = 0; x < 320; x++) wrong += WindowPixel(x, y) != FrameBuffer[y / 2 * kScreenWidth + x / 2];
        EXPECT_EQ(wrong, 0);
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

// Starts a program with this process's environment less its display, home, runtime
// folder, sanitizer options and SDL settings, and with settings in their place; what it
// says (on stdout and stderr) comes through *said.
pid_t Start(const std::vector<const char*>& args, const std::vector<std::string>& settings, int* said) {
    // In a sanitizer build the sound and display libraries' leftovers at exit would be
    // reported too: they are not the game's to free.
    std::vector<std::string> all = settings;
    all.push_back("ASAN_OPTIONS=detect_leaks=0");
    for (char** e = environ; *e != nullptr; e++) {
        const std::string setting = *e;
        const std::string name = setting.substr(0, setting.find('='));
        if (name != "DISPLAY" && name != "WAYLAND_DISPLAY" && name != "HOME" && name != "XDG_RUNTIME_DIR" &&
            name != "ASAN_OPTIONS" && name.compare(0, 4, "SDL_") != 0)
            all.push_back(setting);
    }
    std::vector<char*> env;
    for (std::string& setting : all) env.push_back(setting.data());
    env.push_back(nullptr);
    std::vector<char*> argv;
    for (const char* arg : args) argv.push_back(const_cast<char*>(arg));
    argv.push_back(nullptr);
    int out[2];
    if (pipe(out) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], 1);
        dup2(out[1], 2);
        close(out[0]);
        execve(argv[0], argv.data(), env.data());
        _exit(127);
    }
    close(out[1]);
    *said = out[0];
    return child;
}

// Everything said on fd until it closes (then closed is set) or nothing comes for the
// given number of seconds.
std::string Hear(int fd, int32_t seconds, bool* closed) {
    std::string said;
    pollfd wait = {fd, POLLIN, 0};
    char chunk[256];
    ssize_t got = 1;
    while (got > 0 && poll(&wait, 1, seconds * 1000) == 1) {
        got = read(fd, chunk, sizeof chunk);
        if (got > 0) said.append(chunk, static_cast<size_t>(got));
    }
    *closed = got == 0;
    return said;
}

// The real program, started where there is no display: no DISPLAY or WAYLAND_DISPLAY,
// no SDL driver named, and the empty runtime folder of a console login (which also
// keeps it from a desktop session where the tests run on one).
TEST(NoDisplayTest, TheGameSaysSoInOneLineAndStops) {
    char pattern[] = "/tmp/quillbarrow-nodisplay-XXXXXX";
    const std::string place = mkdtemp(pattern);
    int out = -1;
    const pid_t game = Start({GAME_PROGRAM}, {"HOME=" + place, "XDG_RUNTIME_DIR=" + place}, &out);
    ASSERT_GE(game, 0);
    bool closed = false;
    const std::string said = Hear(out, 20, &closed);  // a game that started would run on: 20 s at most
    close(out);
    if (!closed) kill(game, SIGKILL);
    int status = 0;
    waitpid(game, &status, 0);
    fs::remove_all(place);
    EXPECT_TRUE(closed) << "still running";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 0) << status;
    EXPECT_EQ(said.compare(0, 13, "quillbarrow: "), 0) << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << said;  // one line
}

// The real program in a virtual X display (Xvfb), its sound system named as PulseAudio
// with no PulseAudio server to be found: it says in one line that it plays without
// sound, and plays on. Then another program destroys its window (xdotool windowclose):
// it says so in one line and quits in order, with status 0.
TEST(XDisplayTest, AFailedSoundSystemAndADestroyedWindowEndInOrder) {
    if (access("/usr/bin/Xvfb", X_OK) != 0 || access("/usr/bin/xdotool", X_OK) != 0)
        GTEST_SKIP() << "needs Xvfb and xdotool (make test installs them)";
    char pattern[] = "/tmp/quillbarrow-x-XXXXXX";
    const std::string place = mkdtemp(pattern);
    // Xvfb picks a free display and names it on a pipe once it takes connections.
    int named[2];
    ASSERT_EQ(pipe(named), 0);
    const std::string namedOn = std::to_string(named[1]);
    const pid_t server = fork();
    ASSERT_GE(server, 0);
    if (server == 0) {
        close(named[0]);
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, 1);
        dup2(quiet, 2);
        execl("/usr/bin/Xvfb", "Xvfb", "-displayfd", namedOn.c_str(), "-nolisten", "tcp", "-screen", "0",
              "640x480x24", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(named[1]);
    bool closed = false;
    std::string number = Hear(named[0], 20, &closed);
    close(named[0]);
    number = number.substr(0, number.find('\n'));
    const std::string display = "DISPLAY=:" + number;

    int out = -1;
    const pid_t game = Start({GAME_PROGRAM},
                             {display, "HOME=" + place, "XDG_RUNTIME_DIR=" + place, "SDL_AUDIODRIVER=pulseaudio",
                              "PULSE_SERVER=unix:" + place + "/no-server"},
                             &out);
    // Its window, once it is there; then a second of play (the boot has loaded the sounds).
    std::string window;
    int status = 0;
    bool running = !number.empty();
    for (int32_t tries = 0; running && window.empty() && tries < 300; tries++) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        int found = -1;
        const pid_t search = Start({"/usr/bin/xdotool", "search", "--name", "^Quillbarrow$"}, {display}, &found);
        window = Hear(found, 10, &closed);
        close(found);
        waitpid(search, nullptr, 0);
        window = window.substr(0, window.find('\n'));
        running = waitpid(game, &status, WNOHANG) == 0;
    }
    std::this_thread::sleep_for(std::chrono::seconds(1));
    int closing = -1;
    const pid_t windowclose = Start({"/usr/bin/xdotool", "windowclose", window.c_str()}, {display}, &closing);
    Hear(closing, 10, &closed);
    close(closing);
    waitpid(windowclose, nullptr, 0);

    const std::string said = Hear(out, 20, &closed);
    close(out);
    if (!closed) kill(game, SIGKILL);
    if (running) waitpid(game, &status, 0);
    kill(server, SIGTERM);
    waitpid(server, nullptr, 0);
    fs::remove_all(place);
    ASSERT_FALSE(number.empty()) << "Xvfb named no display";
    EXPECT_FALSE(window.empty()) << "no window showed";
    EXPECT_TRUE(closed) << "still running";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << (WIFSIGNALED(status) ? strsignal(WTERMSIG(status)) : "status " + std::to_string(WEXITSTATUS(status)));
    const size_t second = said.find('\n') + 1;
    EXPECT_EQ(said.rfind("quillbarrow: playing without sound: ", 0), 0u) << said;
    EXPECT_EQ(said.substr(second, 45), "quillbarrow: the game window is gone (X error") << said;
    EXPECT_EQ(said.find('\n', second), said.size() - 1) << said;  // two lines
}

}  // namespace
