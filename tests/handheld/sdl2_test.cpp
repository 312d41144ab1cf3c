// The handhelds' platform layer on SDL2: the mixer plays what SDL_mixer would for the
// game's sound rules, sample for sample; the picture is magnified by whole pixels and
// centred on black; a quit comes from SIGTERM, Escape or the pad's Select + Start; the
// pad's buttons are the game's joystick buttons.
#include <SDL.h>
#include <SDL_mixer.h>
#include <signal.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <vector>

#include "platform/input.h"
#include "platform/video.h"
#include "../test_support.h"

namespace {

// The samples of one of the game's sound files: 16-bit mono after a 44-byte header.
std::vector<int16_t> Samples(const std::string& path) {
    const std::string bytes = FileText(path);
    std::vector<int16_t> samples(bytes.size() > 44 ? (bytes.size() - 44) / 2 : 0);
    if (!samples.empty()) std::memcpy(samples.data(), &bytes[44], samples.size() * 2);
    return samples;
}

// Closes the sound device however many times it was opened, and SDL's sound with it.
void CloseSoundDevice() {
    while (Mix_QuerySpec(nullptr, nullptr, nullptr) != 0) Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

// The next frames the mixer plays, as the left samples; false if ever left and right
// differ (the game's sounds are mono).
bool Mix(size_t frames, std::vector<int16_t>* left) {
    std::vector<int16_t> out(frames * 2, 12345);  // SDL hands the mixer a buffer of leftovers
    MixInto(reinterpret_cast<Uint8*>(out.data()), static_cast<int>(out.size() * 2));
    left->clear();
    bool same = true;
    for (size_t i = 0; i < frames; i++) {
        left->push_back(out[2 * i]);
        same = same && out[2 * i] == out[2 * i + 1];
    }
    return same;
}

// SDL_mixer's sum: music first, then each channel in turn, clipped to 16 bits after
// every addition.
int16_t Sum(std::initializer_list<int32_t> samples) {
    int32_t sum = 0;
    for (int32_t s : samples) sum = std::clamp(sum + s, -32768, 32767);
    return static_cast<int16_t>(sum);
}

int32_t At(const std::vector<int16_t>& samples, size_t i) {
    return i < samples.size() ? samples[i] : 0;
}

class Sdl2Test : public GameTest {
protected:
    void TearDown() override {
        FreeAudio();
        CloseSoundDevice();
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER);
    }
};

TEST_F(Sdl2Test, TheMixerPlaysWhatSdlMixerWouldSampleForSample) {
    const std::vector<int16_t> beep = Samples("data/beep.wav"), click = Samples("data/click.wav"),
                               shoot = Samples("data/shoot.wav"), menu = Samples("data/menu.wav"),
                               ingame = Samples("data/ingame.wav");
    ASSERT_TRUE(beep.size() > 100 && click.size() > 100 && shoot.size() > 1000 && menu.size() > shoot.size() * 3);
    // Opened twice, as SDL_mixer counts openings, the device is closed by the second close,
    // for real: it opens again.
    CloseSoundDevice();
    for (int32_t i = 0; i < 2; i++) ASSERT_EQ(Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024), 0);
    Mix_CloseAudio();
    EXPECT_EQ(Mix_QuerySpec(nullptr, nullptr, nullptr), 1);
    Mix_CloseAudio();
    EXPECT_EQ(Mix_QuerySpec(nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024), 0);
    // On a device at twice the rate a sound is converted, and plays twice as many frames.
    CloseSoundDevice();
    ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 1024), 0);
    SDL_PauseAudio(1);
    Mix_Chunk* fast = Mix_LoadWAV_RW(SDL_RWFromFile("data/beep.wav", "rb"), 1);
    ASSERT_NE(fast, nullptr);
    Mix_PlayChannelTimed(0, fast, 0, -1);
    std::vector<int16_t> out;
    Mix(beep.size() * 2 - 8, &out);
    EXPECT_EQ(Mix_Playing(-1), 1);
    Mix(16, &out);
    EXPECT_EQ(Mix_Playing(-1), 0);
    Mix_FreeChunk(fast);
    // The device opened as the boot screen does, its thread stopped: the test turns the
    // mixer by hand.
    CloseSoundDevice();
    LoadAudio();
    SDL_PauseAudio(1);
    // Every sound and track loads (a damaged file is left out before the mixer sees it:
    // tests/environment_test.cpp).
    EXPECT_EQ(std::count(std::begin(sounds), std::end(sounds), nullptr) +
                  std::count(std::begin(musicTracks), std::end(musicTracks), nullptr),
              0);

    // The track and two sounds together, until both sounds are over.
    PlayMusic(MusicMenu);
    PlaySound(SoundBeep);
    PlaySound(SoundClick);
    size_t at = std::max(beep.size(), click.size()) + 10;
    ASSERT_TRUE(Mix(at, &out));
    int32_t wrong = 0;
    for (size_t i = 0; i < at; i++) wrong += out[i] != Sum({menu[i], At(beep, i), At(click, i)});
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(Mix_Playing(-1), 0);

    // Eight channels: of nine sounds started at once, the ninth is not heard.
    for (int32_t n = 0; n < 9; n++) PlaySound(SoundShoot);
    EXPECT_EQ(Mix_Playing(-1), 8);
    ASSERT_TRUE(Mix(shoot.size(), &out));
    wrong = 0;
    for (size_t i = 0; i < shoot.size(); i++) {
        const int32_t s = shoot[i];
        wrong += out[i] != Sum({menu[at + i], s, s, s, s, s, s, s, s});
    }
    EXPECT_EQ(wrong, 0);
    at += shoot.size();
    // Its channel free again, a sound takes the first one.
    EXPECT_EQ(Mix_Playing(-1), 0);
    PlaySound(SoundBeep);
    EXPECT_EQ(std::vector<int32_t>({Mix_Playing(0), Mix_Playing(1)}), std::vector<int32_t>({1, 0}));

    // The track starts again from its beginning when it runs out.
    ASSERT_TRUE(Mix(menu.size() - at + 10, &out));
    EXPECT_TRUE(std::equal(out.end() - 10, out.end(), menu.begin()));
    // Asked for again (the game asks every frame) it goes on; another track starts from
    // its beginning; stopped, the music is silent.
    PlayMusic(MusicMenu);
    ASSERT_TRUE(Mix(5, &out));
    EXPECT_TRUE(std::equal(out.begin(), out.end(), menu.begin() + 10));
    PlayMusic(MusicInGame);
    ASSERT_TRUE(Mix(5, &out));
    EXPECT_TRUE(std::equal(out.begin(), out.end(), ingame.begin()));
    StopMusic();
    EXPECT_EQ(Mix_PlayingMusic(), 0);

    // Freeing a sound that plays stops it.
    PlaySound(SoundShoot);
    FreeAudio();
    EXPECT_EQ(Mix_Playing(-1), 0);
    ASSERT_TRUE(Mix(100, &out));
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](int16_t s) { return s == 0; }));
}

// The game's window.
SDL_Window* GameWindow() {
    for (Uint32 id = 1; id < 100; id++) {
        SDL_Window* window = SDL_GetWindowFromID(id);
        if (window != nullptr && std::strcmp(SDL_GetWindowTitle(window), "Quillbarrow") == 0) return window;
    }
    return nullptr;
}

// What it shows, as 0xRRGGBB, row after row (SDL's dummy screen keeps it in the
// window's surface).
std::vector<uint32_t> WindowPicture(SDL_Window* window) {
    SDL_Surface* rgb = SDL_ConvertSurfaceFormat(SDL_GetWindowSurface(window), SDL_PIXELFORMAT_RGB888, 0);
    const auto* pixels = static_cast<const uint32_t*>(rgb->pixels);
    std::vector<uint32_t> picture;
    for (int32_t y = 0; y < rgb->h; y++)
        for (int32_t x = 0; x < rgb->w; x++) picture.push_back(pixels[y * rgb->pitch / 4 + x] & 0xFFFFFF);
    SDL_FreeSurface(rgb);
    return picture;
}

TEST_F(Sdl2Test, TheWholePictureIsMagnifiedByWholePixelsOnBlack) {
    ASSERT_TRUE(OpenWindow());  // the whole of SDL's dummy screen, as the tests ask for it
    EXPECT_EQ(std::vector<int32_t>({windowWidth, windowHeight}), std::vector<int32_t>({1024, 768}));
    SDL_Window* window = GameWindow();
    ASSERT_NE(window, nullptr);
    // Every pixel its own colour: a blend, a skipped row or column or a colour rounded
    // otherwise than the game's pictures would show.
    for (int32_t i = 0; i < kScreenWidth * kScreenHeight; i++)
        FrameBuffer[i] = static_cast<uint16_t>(i * 2654435761u >> 16);
    // Window sizes, the magnification that fits and the bars beside and above it. (SDL
    // 2.0.14's software scaler, under the dummy screen and Xvfb, is exact only for the
    // powers of two.)
    const struct { int32_t w, h, scale, left, top; } sizes[] = {
        {1024, 768, 6, 32, 24}, {640, 480, 4, 0, 0}, {400, 300, 2, 40, 30}, {100, 80, 1, -30, -20}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(std::to_string(size.w) + " x " + std::to_string(size.h));
        if (size.w != windowWidth) {
            SDL_SetWindowFullscreen(window, 0);
            SDL_SetWindowSize(window, size.w, size.h);
            EXPECT_FALSE(DrainEvents());
            ASSERT_EQ(std::vector<int32_t>({windowWidth, windowHeight}), std::vector<int32_t>({size.w, size.h}));
        }
        PresentToWindow();
        const std::vector<uint32_t> screen = WindowPicture(window);
        ASSERT_EQ(screen.size(), static_cast<size_t>(size.w * size.h));
        const bool exact = (size.scale & (size.scale - 1)) == 0;
        int32_t wrong = 0, bars = 0;
        for (int32_t y = 0; y < size.h; y++)
            for (int32_t x = 0; x < size.w; x++) {
                const int32_t px = (x - size.left) / size.scale, py = (y - size.top) / size.scale;
                if (x < size.left || y < size.top || px >= kScreenWidth || py >= kScreenHeight)
                    bars += screen[y * size.w + x] != 0;
                else if (exact)
                    wrong += screen[y * size.w + x] != Rgb888(FrameBuffer[py * kScreenWidth + px]);
            }
        EXPECT_EQ(wrong, 0);
        EXPECT_EQ(bars, 0);
    }
}

// The pad as SDL reports it, before any test scripts it.
int32_t (*const sdlPadButtonCount)() = joystickButtonCount;
int32_t (*const sdlPadButton)(int32_t b) = joystickButton;

TEST_F(Sdl2Test, SigtermEscapeOrSelectAndStartEndTheGame) {
    joystickButtonCount = sdlPadButtonCount, joystickButton = sdlPadButton;
    ASSERT_TRUE(OpenWindow());
    EXPECT_FALSE(DrainEvents());
    // A firmware's key mapper ends a game with SIGTERM.
    raise(SIGTERM);
    EXPECT_TRUE(DrainEvents());
    EXPECT_FALSE(DrainEvents());
    SDL_Event key = {};
    key.type = SDL_KEYDOWN;
    key.key.keysym.sym = SDLK_ESCAPE;
    SDL_PushEvent(&key);
    EXPECT_TRUE(DrainEvents());
    key.key.keysym.sym = SDLK_RETURN;
    SDL_PushEvent(&key);
    EXPECT_FALSE(DrainEvents());

    // A pad (SDL's virtual one, laid out as its mapping says), plugged in: its buttons
    // are the game's joystick buttons 2 A, 1 B, 8 6 7 9 up down left right, 11 Start.
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 0, 15, 0);
    ASSERT_GE(index, 0) << SDL_GetError();
    char guid[64];
    SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(index), guid, sizeof guid);
    ASSERT_GE(SDL_GameControllerAddMapping((std::string(guid) + ",pad,a:b0,b:b1,x:b2,y:b3,back:b4,guide:b5,start:b6,"
                                                                 "leftshoulder:b9,dpup:b11,dpdown:b12,dpleft:b13,dpright:b14,")
                                               .c_str()),
              0) << SDL_GetError();
    SDL_Joystick* joystick = SDL_JoystickOpen(index);
    ASSERT_NE(joystick, nullptr);
    EXPECT_FALSE(DrainEvents());  // finds the pad
    ASSERT_EQ(joystickButtonCount(), 12);
    // The virtual pad's buttons and the game's joystick buttons they are (-1: none).
    const int buttons[][2] = {{0, 2}, {1, 1}, {11, 8}, {12, 6}, {13, 7}, {14, 9}, {6, 11},
                              {2, -1}, {3, -1}, {9, -1}, {4, -1}};
    for (const auto& button : buttons) {
        SCOPED_TRACE(button[0]);
        SDL_JoystickSetVirtualButton(joystick, button[0], SDL_PRESSED);
        EXPECT_FALSE(DrainEvents());
        Values down;
        for (int32_t b = 0; b < 12; b++)
            if (joystickButton(b) != 0) down.push_back(b);
        EXPECT_EQ(down, button[1] < 0 ? Values{} : Values{button[1]});
        SDL_JoystickSetVirtualButton(joystick, button[0], SDL_RELEASED);
    }
    // Select and Start together quit, as gptokeyb's hotkey does where it runs.
    SDL_JoystickSetVirtualButton(joystick, 4, SDL_PRESSED);
    SDL_JoystickSetVirtualButton(joystick, 6, SDL_PRESSED);
    EXPECT_TRUE(DrainEvents());
    // Pulled out, the pad has no buttons.
    SDL_JoystickClose(joystick);
    SDL_JoystickDetachVirtual(index);
    EXPECT_FALSE(DrainEvents());
    EXPECT_EQ(joystickButtonCount(), 0);
}

}  // namespace
