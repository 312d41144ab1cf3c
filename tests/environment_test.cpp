// The game on machines that lack what it expects: broken, hostile or missing sounds, no
// sound device, a pad pulled out mid-game, a window dragged to any size, no display at
// all, a sound system that fails, a window destroyed under it. It plays on (silent
// where the sound is missing), quits in order, or says in one line why it cannot.
#include <SDL.h>
#include <SDL_mixer.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <iterator>
#include <thread>

#include "platform/video.h"
#include "platform/wavfile.h"
#include "process_support.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using Wav = std::vector<uint8_t>;

class EnvironmentTest : public GameTest {
protected:
    Print shown;  // every frame's picture, one after another

    void Frame() {
        RunHeadlessFrame();
        for (const uint16_t pixel : shownFrame) shown.Add(pixel);
    }
    // From the first frame to the first islands, past their opening words: the credits,
    // Play, the high score (a player with a best skips the welcome), a new game.
    void SailFromBoot() {
        std::srand(5);
        SaveHighScore(40);
        const auto pressA = [this] { SetButtonKey(ButtonA, true), Frame(), SetButtonKey(ButtonA, false), Frame(); };
        for (int32_t i = 0; i < 2; i++) Frame();
        for (int32_t i = 0; i < 5; i++) pressA();
        for (int32_t page = 0; overlayMode == OverlayDialog && page < 20; page++) {
            for (int32_t i = 0; i < 100; i++) Frame();
            pressA();
        }
        ASSERT_EQ(Values({GameState, overlayMode}), Values({ScreenSailing, OverlayNone}));
    }
};

// A copy of data/ in a folder of its own under home, returned; its WAVs in name order
// in *wavs.
std::string CopyData(const std::string& home, std::vector<fs::path>* wavs) {
    const std::string place = home + "/game";
    fs::create_directories(place);
    fs::copy("data", place + "/data");
    for (const auto& entry : fs::directory_iterator(place + "/data")) wavs->push_back(entry.path());
    std::sort(wavs->begin(), wavs->end());
    return place;
}

// Closes the sound device however many times it was opened, and SDL's sound with it.
void CloseSoundDevice() {
    while (Mix_QuerySpec(nullptr, nullptr, nullptr) != 0) Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

int32_t Loaded() {
    return static_cast<int32_t>(kSoundCount + kMusicCount - std::count(sounds, sounds + kSoundCount, nullptr) -
                                std::count(musicTracks, musicTracks + kMusicCount, nullptr));
}

// The game played from boot to sailing in a copy of data/ with its files damaged, or
// without a sound device: every frame as with every sound in place, and the same sounds
// asked for.
TEST_F(EnvironmentTest, BrokenSoundsOrNoSoundDeviceChangeNothingButTheSound) {
    struct Case {
        const char* name;
        void (*damage)(const fs::path& wav, int32_t number);  // to each file
        int32_t loaded;                                     // of the 15 sounds and tracks
        bool music;                                         // whether the sailing music is heard
    } cases[] = {
        {"every sound in place", [](const fs::path&, int32_t) {}, 15, true},
        {"no data folder", [](const fs::path& wav, int32_t) { fs::remove_all(wav.parent_path()); }, 0, false},
        {"every other file missing, cut off in its header or its samples, or text",
         [](const fs::path& wav, int32_t n) {
             if (n % 2 == 0) return;
             const int32_t way = n / 2 % 4;
             if (way == 0) fs::remove(wav);
             else if (way == 3) std::ofstream(wav) << "Not a sound at all.\n";
             else fs::resize_file(wav, way == 1 ? 30 : fs::file_size(wav) * 3 / 5 + 1);
         },
         8, false},
        {"no sound device", [](const fs::path&, int32_t) { setenv("SDL_AUDIODRIVER", "none-such", 1); }, 3, false},
    };
    const fs::path top = fs::current_path();
    uint64_t pictures = 0;
    std::vector<std::string> asked;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown(), SetUp();
        shown = Print{};
        std::vector<fs::path> wavs;
        const std::string place = CopyData(home, &wavs);
        for (size_t n = 0; n < wavs.size(); n++) c.damage(wavs[n], static_cast<int32_t>(n));
        CloseSoundDevice();  // so that the boot opens it anew
        fs::current_path(place);
        SailFromBoot();
        for (int32_t i = 0; i < 30; i++) SetButtonKey(ButtonRight, i < 20), Frame();
        SDL_Delay(100);  // the sound device's thread plays what there is meanwhile
        fs::current_path(top);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        EXPECT_EQ(Values({Loaded(), Mix_PlayingMusic()}), Values({c.loaded, c.music}));
        if (pictures == 0) pictures = shown.value, asked = heard;
        EXPECT_EQ(shown.value, pictures);
        EXPECT_EQ(heard, asked);
        FreeAudio();
        CloseSoundDevice();
    }
    EXPECT_EQ(std::count(asked.begin(), asked.end(), "music ingame"), 1);  // the sailing music was asked for
}

// Writes value into wav at byte at, little-endian, in the given number of bytes.
void Poke(Wav& wav, size_t at, uint64_t value, int32_t bytes) {
    for (int32_t b = 0; b < bytes; b++) wav[at + b] = static_cast<uint8_t>(value >> (8 * b));
}
uint32_t DataSize(const Wav& w) { return w[40] | w[41] << 8 | w[42] << 16 | static_cast<uint32_t>(w[43]) << 24; }

// Puts a chunk named name, of the given length (and its pad byte when odd), before the
// byte at (the "fmt " chunk's), growing the RIFF size to match. A chunk named "fmt " is a
// copy of the first.
void InsertChunk(Wav& wav, const char* name, uint32_t length, size_t at = 12) {
    Wav chunk(name, name + 4);
    chunk.resize(8 + length + length % 2, 'x');
    Poke(chunk, 4, length, 4);
    if (std::strcmp(name, "fmt ") == 0) chunk.assign(wav.begin() + 12, wav.begin() + 36);
    wav.insert(wav.begin() + static_cast<ptrdiff_t>(at), chunk.begin(), chunk.end());
    Poke(wav, 4, wav.size() - 8, 4);
}
void Stereo(Wav& w) { Poke(w, 22, 2, 2), Poke(w, 28, 88200, 4), Poke(w, 32, 4, 2); }

// One change to a sound file as the game's own are laid out (16-bit mono at 22050 Hz:
// "fmt " at byte 12, its fields from 20, "data" at 36, its length at 40), and whether
// the file is still one to play.
struct Damage {
    const char* name;
    void (*change)(Wav& wav);
    bool playable;
};
const Damage kDamages[] = {
    {"as made", [](Wav&) {}, true}, {"RIFF size 0", [](Wav& w) { Poke(w, 4, 0, 4); }, false},
    {"RIFF size past the end", [](Wav& w) { Poke(w, 4, w.size() - 6, 4); }, false},
    {"RIFF size ending in the samples", [](Wav& w) { Poke(w, 4, w.size() - 10, 4); }, false},
    {"RIFF size 4 GB", [](Wav& w) { Poke(w, 4, 0xFFFFFFFF, 4); }, false},
    {"not WAVE", [](Wav& w) { w[11] = 'X'; }, false}, {"fmt size 0", [](Wav& w) { Poke(w, 16, 0, 4); }, false},
    {"fmt size 17", [](Wav& w) { Poke(w, 16, 17, 4); }, false},
    {"fmt size 18", [](Wav& w) { Poke(w, 16, 18, 4); }, false},
    {"fmt size 4 GB", [](Wav& w) { Poke(w, 16, 0xFFFFFFF0, 4); }, false},
    {"compressed", [](Wav& w) { Poke(w, 20, 2, 2); }, false},
    {"no channels", [](Wav& w) { Poke(w, 22, 0, 2); }, false},
    {"3 channels", [](Wav& w) { Poke(w, 22, 3, 2), Poke(w, 28, 132300, 4), Poke(w, 32, 6, 2); }, false},
    {"stereo", [](Wav& w) { Stereo(w), Poke(w, 40, DataSize(w) & ~3u, 4); }, true},
    {"8 bits", [](Wav& w) { Poke(w, 34, 8, 2), Poke(w, 28, 22050, 4), Poke(w, 32, 1, 2); }, true},
    {"24 bits", [](Wav& w) { Poke(w, 34, 24, 2), Poke(w, 28, 66150, 4), Poke(w, 32, 3, 2); }, false},
    {"7999 Hz", [](Wav& w) { Poke(w, 24, 7999, 4), Poke(w, 28, 15998, 4); }, false},
    {"8000 Hz", [](Wav& w) { Poke(w, 24, 8000, 4), Poke(w, 28, 16000, 4); }, true},
    {"96000 Hz", [](Wav& w) { Poke(w, 24, 96000, 4), Poke(w, 28, 192000, 4); }, true},
    {"96001 Hz", [](Wav& w) { Poke(w, 24, 96001, 4), Poke(w, 28, 192002, 4); }, false},
    {"byte rate not the rate's", [](Wav& w) { Poke(w, 28, 1000, 4); }, false},
    {"block size 0", [](Wav& w) { Poke(w, 32, 0, 2); }, false}, {"no data chunk", [](Wav& w) { w[39] = 'x'; }, false},
    {"data size 0", [](Wav& w) { Poke(w, 40, 0, 4); }, false},
    {"data size odd", [](Wav& w) { Poke(w, 40, w.size() - 45, 4); }, false},
    {"data size past the end", [](Wav& w) { Poke(w, 40, w.size() - 42, 4); }, false},
    {"data size 4 GB", [](Wav& w) { Poke(w, 40, 0xFFFFFFF0, 4); }, false},
    {"a sample short", [](Wav& w) { Poke(w, 40, w.size() - 46, 4); }, true},
    {"one sample", [](Wav& w) { Poke(w, 40, 2, 4); }, true},
    {"data where fmt should be", [](Wav& w) { std::copy_n("data", 4, w.begin() + 12); }, false},
    {"a fact chunk first", [](Wav& w) { InsertChunk(w, "fact", 4); }, true},
    {"a LIST chunk first", [](Wav& w) { InsertChunk(w, "LIST", 10); }, true},
    {"an odd LIST chunk first", [](Wav& w) { InsertChunk(w, "LIST", 9); }, false},
    {"two fmt chunks", [](Wav& w) { InsertChunk(w, "fmt ", 16, 36); }, false},
    {"stereo, half a sample frame over", [](Wav& w) { Stereo(w), Poke(w, 40, (DataSize(w) & ~3u) - 2, 4); }, false},
    {"a JUNK chunk first", [](Wav& w) { InsertChunk(w, "JUNK", 10); }, false},
    {"empty", [](Wav& w) { w.clear(); }, false},
};

Wav Bytes(const fs::path& path) {
    const std::string text = FileText(path);
    return Wav(text.begin(), text.end());
}

// Kilobytes of this process held in memory now.
int64_t ResidentKilobytes() {
    const std::string status = FileText("/proc/self/status");
    return std::atoll(status.c_str() + status.find("VmRSS:") + 6);
}

// Every change of the table made to the menu music and the first effect together,
// checked as the loader checks them; then the two replaced by pipes, or made whole sounds
// too large to read: each booted in a process of its own, the boot loads the rest and
// goes on, within a watchdog of five seconds and 64 MB of memory beyond the test's own.
TEST_F(EnvironmentTest, EveryDamagedSoundIsLeftOutAndTheBootGoesOnAtOnce) {
    std::vector<fs::path> wavs;
    const std::string place = CopyData(home, &wavs);
    const fs::path music = place + "/data/menu.wav", effect = place + "/data/beep.wav";
    const Wav musicMade = Bytes(music), effectMade = Bytes(effect);
    CloseSoundDevice();  // each boot opens its own
    const int64_t before = ResidentKilobytes();
    int64_t slowest = 0, largest = 0;
    const size_t boots = std::size(kDamages) + 2;
    for (size_t boot = 0; boot < boots; boot++) {
        const Damage* damage = boot < std::size(kDamages) ? &kDamages[boot] : nullptr;
        SCOPED_TRACE(damage != nullptr ? damage->name : boot == boots - 2 ? "a pipe" : "16 MB");
        for (const auto& [path, made] : {std::pair{music, &musicMade}, {effect, &effectMade}}) {
            fs::remove(path);
            Wav bytes = *made;
            if (damage != nullptr) damage->change(bytes);
            EXPECT_TRUE(damage == nullptr || IsPlayableWav(bytes.data(), bytes.size()) == damage->playable) << path;
            if (boot == boots - 1) {  // a whole sound, one sample frame too long
                bytes.resize(kMaxWavBytes + 2);
                Poke(bytes, 4, bytes.size() - 8, 4), Poke(bytes, 40, bytes.size() - 44, 4);
            }
            if (boot == boots - 2) mkfifo(path.c_str(), 0644);
            else std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        }
        const auto start = std::chrono::steady_clock::now();
        const Ended ended = InChild([&] {
            alarm(5);
            const rlimit memory = {1u << 30, 1u << 30};  // beyond the test's own: a guard for the machine
            rlimit now;
            getrlimit(RLIMIT_AS, &now);
            if (now.rlim_cur == RLIM_INFINITY) setrlimit(RLIMIT_AS, &memory);
            if (chdir(place.c_str()) != 0) return 100;
            for (int32_t i = 0; i < 3; i++) RunHeadlessFrame();  // the boot, then the first credits page
            return Loaded();
        });
        slowest = std::max<int64_t>(slowest, std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
        largest = std::max<int64_t>(largest, ended.used.ru_maxrss - before);
        EXPECT_FALSE(ended.Killed()) << (ended.Killed() ? strsignal(WTERMSIG(ended.status)) : "");
        EXPECT_EQ(ended.Code(), damage != nullptr && damage->playable ? 15 : 13);
        EXPECT_LT(ended.used.ru_maxrss - before, 64 << 10) << "kB beyond the test's own";
    }
    std::cout << boots << " damaged boots: the slowest took " << slowest << " ms and at most " << largest / 1024
              << " MB beyond the test's own\n";
}

TEST_F(EnvironmentTest, AWindowDraggedToAnySizeShowsTheWholePicture) {
    ASSERT_TRUE(OpenWindow());  // SDL's dummy screen, as the tests ask for it
    // Blocks of 20 x 60 pixels in sixteen colours: 8 across, 2 down.
    for (const auto& [w, h] : {std::pair{1, 1}, {4000, 3000}, {320, 240}, {161, 7}, {1, 1}, {320, 240}}) {
        SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
        SDL_Event resize = {};
        resize.type = SDL_VIDEORESIZE, resize.resize.w = w, resize.resize.h = h;
        SDL_PushEvent(&resize);
        EXPECT_FALSE(DrainEvents());
        for (int32_t i = 0; i < kScreenWidth * kScreenHeight; i++) FrameBuffer[i] = Colour(i % 160 / 20 + i / 160 / 60 * 8);
        PresentToWindow();
        const SDL_Surface* window = SDL_GetVideoSurface();
        ASSERT_EQ(Values({window->w, window->h, windowWidth, windowHeight, window->format->BitsPerPixel}),
                  Values({w, h, w, h, 16}));
        // The middle of every block lands on its colour; at 320 x 240 every pixel is doubled.
        const auto pixel = [window](int32_t x, int32_t y) {
            return reinterpret_cast<const uint16_t*>(static_cast<const uint8_t*>(window->pixels) + y * window->pitch)[x];
        };
        for (int32_t block = 0; w >= 16 && h >= 4 && block < 16; block++)
            EXPECT_EQ(pixel((block % 8 * 20 + 10) * w / 160, (block / 8 * 60 + 30) * h / 120), Colour(block)) << block;
        for (int32_t y = 0; w == 320 && y < 240; y++)
            for (int32_t x = 0; x < 320; x++) ASSERT_EQ(pixel(x, y), At(x / 2, y / 2)) << x << ", " << y;
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

// Starts a program in place of this (child) process, with the given settings alone for
// its environment: no display, home, runtime folder or SDL setting but those given. In
// a sanitizer build the sound and display libraries' leftovers at exit would be reported
// too: they are not the game's to free. Returns only where the program cannot start.
int Exec(const std::vector<const char*>& args, std::vector<std::string> settings) {
    settings.push_back("ASAN_OPTIONS=detect_leaks=0");
    std::vector<char*> env, argv;
    for (std::string& setting : settings) env.push_back(setting.data());
    for (const char* arg : args) argv.push_back(const_cast<char*>(arg));
    env.push_back(nullptr), argv.push_back(nullptr);
    execve(argv[0], argv.data(), env.data());
    return 127;
}

// Runs a program as Exec starts it, until it ends or has said nothing for the given
// number of seconds (then it is killed).
Ended RunProgram(const std::vector<const char*>& args, const std::vector<std::string>& settings, int32_t seconds) {
    int said = -1;
    const pid_t child = Spawn([&] { return Exec(args, settings); }, &said);
    return Finish(child, said, seconds);
}

// The real program, started where there is no display: no DISPLAY or WAYLAND_DISPLAY,
// no SDL driver named, and the empty runtime folder of a console login (which also
// keeps it from a desktop session where the tests run on one).
TEST(NoDisplayTest, TheGameSaysSoInOneLineAndStops) {
    char pattern[] = "/tmp/quillbarrow-nodisplay-XXXXXX";
    const std::string place = mkdtemp(pattern);
    // A game that started would run on: 20 s at most.
    const Ended ended = RunProgram({GAME_PROGRAM}, {"HOME=" + place, "XDG_RUNTIME_DIR=" + place}, 20);
    fs::remove_all(place);
    EXPECT_GT(ended.Code(), 0) << "status " << ended.status;  // a failure, not a kill
    EXPECT_EQ(ended.said.compare(0, 13, "quillbarrow: "), 0) << ended.said;
    EXPECT_EQ(ended.said.find('\n'), ended.said.size() - 1) << ended.said;  // one line
}

// The real program in a virtual X display (Xvfb), its sound system named as PulseAudio
// with no PulseAudio server to be found: it says in one line that it plays without
// sound, and plays on in a window of its name. Then another program destroys its window
// (xdotool windowclose): it says so in one line and quits in order, with status 0.
TEST(XDisplayTest, AFailedSoundSystemAndADestroyedWindowEndInOrder) {
    if (access("/usr/bin/Xvfb", X_OK) != 0 || access("/usr/bin/xdotool", X_OK) != 0)
        GTEST_SKIP() << "needs Xvfb and xdotool (make test installs them)";
    char pattern[] = "/tmp/quillbarrow-x-XXXXXX";
    const std::string place = mkdtemp(pattern);
    // Xvfb picks a free display and names it on its output once it takes connections
    // (its messages are not wanted).
    int named = -1;
    const pid_t server = Spawn([] {
        dup2(open("/dev/null", O_WRONLY), 2);
        return Exec({"/usr/bin/Xvfb", "-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "640x480x24"}, {});
    }, &named);
    std::string number = Hear(named, 20);
    number = number.substr(0, number.find('\n'));
    const std::string display = "DISPLAY=:" + number;
    // Another program waits for its window (found by its caption), lets it play a second
    // (the boot has loaded the sounds) and destroys the window: the game's only way to end
    // in time.
    int found = -1;
    const pid_t tool = Spawn([&] {
        return Exec({"/usr/bin/xdotool", "search", "--sync", "--name", "^Quillbarrow$", "sleep", "1", "windowclose"},
                    {display});
    }, &found);
    const Ended game = RunProgram({GAME_PROGRAM},
                                  {display, "HOME=" + place, "XDG_RUNTIME_DIR=" + place, "SDL_AUDIODRIVER=pulseaudio",
                                   "PULSE_SERVER=unix:" + place + "/no-server"},
                                  30);
    Finish(tool, found, 10);
    kill(server, SIGTERM), waitpid(server, nullptr, 0);
    fs::remove_all(place);
    ASSERT_FALSE(number.empty()) << "Xvfb named no display";
    EXPECT_EQ(game.Code(), 0) << "status " << game.status;  // neither a kill nor a failure
    const size_t second = game.said.find('\n') + 1;
    EXPECT_EQ(game.said.rfind("quillbarrow: playing without sound: ", 0), 0u) << game.said;
    EXPECT_EQ(game.said.substr(second, 45), "quillbarrow: the game window is gone (X error") << game.said;
    EXPECT_EQ(game.said.find('\n', second), game.said.size() - 1) << game.said;  // two lines
}

}  // namespace
