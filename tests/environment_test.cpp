// The game on machines that lack what it expects: broken or missing sounds, no sound
// device, a pad pulled out mid-game, a window dragged to any size, no display at all.
// It plays on (silent where the sound is missing) or says in one line why it cannot.
#include <SDL.h>
#include <SDL_mixer.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>

#include "flow/dialog.h"
#include "flow_support.h"
#include "platform/video.h"

namespace {

namespace fs = std::filesystem;

uint64_t Hash(const uint16_t* pixels, size_t count) {
    uint64_t hash = 14695981039346656037u;
    for (size_t i = 0; i < count; i++) hash = (hash ^ pixels[i]) * 1099511628211u;
    return hash;
}

class EnvironmentTest : public FlowTest {
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
         15, 1},
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
    EXPECT_EQ(std::count(asked.begin(), asked.end(), "music 1"), 1);  // the sailing music was asked for
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

// The real program, started where there is no display: no DISPLAY or WAYLAND_DISPLAY,
// no SDL driver named, and the empty runtime folder of a console login (which also
// keeps it from a desktop session where the tests run on one).
TEST(NoDisplayTest, TheGameSaysSoInOneLineAndStops) {
    char pattern[] = "/tmp/quillbarrow-nodisplay-XXXXXX";
    const std::string place = mkdtemp(pattern);
    // In a sanitizer build the sound and display libraries' leftovers at exit would be
    // reported too: they are not the game's to free.
    std::vector<std::string> settings = {"HOME=" + place, "XDG_RUNTIME_DIR=" + place, "ASAN_OPTIONS=detect_leaks=0"};
    for (char** e = environ; *e != nullptr; e++) {
        const std::string setting = *e;
        const std::string name = setting.substr(0, setting.find('='));
        if (name != "DISPLAY" && name != "WAYLAND_DISPLAY" && name != "HOME" && name != "XDG_RUNTIME_DIR" &&
            name != "ASAN_OPTIONS" && name.compare(0, 4, "SDL_") != 0)
            settings.push_back(setting);
    }
    std::vector<char*> env;
    for (std::string& setting : settings) env.push_back(setting.data());
    env.push_back(nullptr);

    int out[2];
    ASSERT_EQ(pipe(out), 0);
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], 1);
        dup2(out[1], 2);
        close(out[0]);
        char* const args[] = {const_cast<char*>(GAME_PROGRAM), nullptr};
        execve(GAME_PROGRAM, args, env.data());
        _exit(127);
    }
    close(out[1]);
    std::string said;
    pollfd wait = {out[0], POLLIN, 0};
    char chunk[256];
    ssize_t got = 1;
    while (got > 0 && poll(&wait, 1, 20000) == 1) {  // a game that started would run on: 20 s at most
        got = read(out[0], chunk, sizeof chunk);
        if (got > 0) said.append(chunk, static_cast<size_t>(got));
    }
    close(out[0]);
    if (got != 0) kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    fs::remove_all(place);
    EXPECT_EQ(got, 0) << "still running";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 0) << status;
    EXPECT_EQ(said.compare(0, 13, "quillbarrow: "), 0) << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << said;  // one line
}

}  // namespace
