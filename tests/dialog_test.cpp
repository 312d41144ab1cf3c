// The typewriter dialog: the box opening, the portrait's rise, line breaking and pages,
// buttons, the blinking mark and the talk sounds, through the dialog screen's frames.
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "dialog.h"
#include "flow/dialog.h"
#include "flow/gamestate.h"
#include "flow/highscore.h"
#include "platform/audio.h"
#include "platform/input.h"
#include "render/sprite.h"
#include "render/text.h"
#include "test_support.h"
#include "world/generate.h"
#include "world/world.h"

namespace {

// What was heard, as (frameCounter, sound); the done action is logged as sound -1.
std::vector<std::pair<int32_t, int32_t>> heard;
void Heard(int32_t n) { heard.push_back({frameCounter, n}); }
void Done() { heard.push_back({frameCounter, -1}); }

class DialogTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        heard.clear();
        soundStarted = Heard;
        sfxOn = 1;
        GameState = ScreenNewHighScore;  // the dialog alone on a dark screen
    }
    void TearDown() override { soundStarted = nullptr; }

    void Frames(int n) {
        for (int i = 0; i < n; i++) RunHeadlessFrame();
    }
    // Down for one frame; the release is acted on in the frame after.
    void Press(int32_t button) {
        SetButtonKey(button, true);
        RunHeadlessFrame();
        SetButtonKey(button, false);
        RunHeadlessFrame();
    }
};

// Text lines as the page shows them: white letters over a dark copy one pixel lower.
void DrawLines(const std::vector<std::string>& lines) {
    for (size_t l = 0; l < lines.size(); l++)
        for (size_t j = 0; j < lines[l].size(); j++) {
            const int32_t x = 18 + 6 * static_cast<int32_t>(j), y = 78 + 12 * static_cast<int32_t>(l);
            DrawChar(x, y + 1, static_cast<uint8_t>(lines[l][j]), Colour(0));
            DrawChar(x, y, static_cast<uint8_t>(lines[l][j]), Colour(15));
        }
}

// A box of w x h interior tiles: a grid of tiles from (8, 64), corners at the corners,
// edges along the sides, fill inside.
void DrawBox(int w, int h) {
    for (int tx = 0; tx < w + 2; tx++)
        for (int ty = 0; ty < h + 2; ty++) {
            const int col = tx == 0 ? 0 : tx == w + 1 ? 2 : 1;
            const int row = ty == 0 ? 0 : ty == h + 1 ? 2 : 1;
            DrawSprite16x16(8 + 16 * tx, 64 + 16 * ty, DialogFramePieces + 256 * (row * 3 + col), SeaKey());
        }
}

void ExpectFrameEquals(const uint16_t* actual, const std::vector<uint16_t>& expected) {
    for (int i = 0; i < kScreenWidth * kScreenHeight; i++)
        ASSERT_EQ(actual[i], expected[i]) << "pixel (" << i % kScreenWidth << ", " << i / kScreenWidth << ")";
}

std::vector<uint16_t> CopyOfFrame() { return std::vector<uint16_t>(std::begin(FrameBuffer), std::end(FrameBuffer)); }

TEST_F(DialogTest, BoxOpensOverEightFramesWhileThePortraitRisesAndTalks) {
    dialog.portraitFrame = 7;
    dialog.talkWordStart = 1;
    dialog.boxColumns = 7;
    StartDialog(3, "Ahoy there", Done);
    FillFrame(Colour(0));  // as every frame's clearing leaves it
    EXPECT_EQ(dialog.text, "Ahoy there");
    EXPECT_EQ(dialog.onChar, TalkSound);
    EXPECT_EQ(dialog.done, Done);
    EXPECT_EQ(std::vector<int32_t>({dialog.left, dialog.top, dialog.width, dialog.height, dialog.typing,
                                    dialog.finished, dialog.talkWordStart, dialog.boxColumns, dialog.boxRows, hudSlide,
                                    overlayMode, dialog.portraitFrame}),
              std::vector<int32_t>({18, 78, 122, 30, 1, 0, 0, 0, 0, 0, OverlayDialog, 7}));

    // Frame by frame: the portrait's top row, its animation frame and table, the box.
    const int kPortraitY[12] = {20, 20, 19, 18, 17, 16, 15, 14, 13, 12, 11, 11};
    const int kPortraitFrame[12] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1};
    const int kColumns[12] = {0, 1, 2, 3, 4, 5, 6, 7, 7, 7, 7, 7};
    for (int k = 0; k < 12; k++) {
        SCOPED_TRACE(::testing::Message() << "frame " << k + 1);
        RunHeadlessFrame();
        FillFrame(Colour(0));
        // Talking while the ten letters appear, idle from the frame after the last.
        const uint8_t* portraits = k < 10 ? PortraitTalkFrames : PortraitIdleFrames;
        DrawPortrait56x56(kPortraitY[k], portraits + 56 * 56 * (16 + kPortraitFrame[k]), SeaKey());
        DrawBox(kColumns[k], k == 0 ? 0 : 1);
        DrawLines({std::string("Ahoy there").substr(0, k + 1)});
        if (k >= 9) {  // finished, and frameCounter 9 and on: the more-text mark is lit
            DrawChar(153, 78, 16, Colour(0));
            DrawChar(153, 77, 16, Colour(15));
        }
        ExpectFrameEquals(shownFrame, CopyOfFrame());
        FillFrame(Colour(0));  // the next frame starts from a cleared picture again
    }
    EXPECT_EQ(hudSlide, -20);
    SaveShownFrame(TestFramePath("dialog_on_black").c_str(), 3);

    // Over the sea the status bar pulls hudSlide back up; at -19 the portrait stands
    // where it does at -20, and the slide goes on down.
    for (int32_t slide : {-19, -20}) {
        FillFrame(Colour(2));
        hudSlide = slide;
        frameCounter = 1;
        AnimatePortrait(), DrawDialogBox(), OpenDialogBox();
        const std::vector<uint16_t> drawn = CopyOfFrame();
        FillFrame(Colour(2));
        DrawPortrait56x56(11, PortraitIdleFrames + 56 * 56 * 17, SeaKey());
        for (int i = 0; i < 64 * kScreenWidth; i++) ASSERT_EQ(drawn[i], FrameBuffer[i]) << slide << " at " << i;
        EXPECT_EQ(hudSlide, slide == -19 ? -21 : -20);
    }
}

// Types `text` for `frames` frames (the page's steps alone, over the sea colour) and checks
// that exactly `lines` are on the page.
void ExpectPage(const char* text, int frames, const std::vector<std::string>& lines) {
    SCOPED_TRACE(::testing::Message() << '"' << text << "\" after " << frames << " frames");
    StartDialog(0, text, Done);
    for (int i = 0; i < frames; i++) {
        FillFrame(Colour(2));
        UpdateDialog(), DrawDialogPage(), AnswerDialog();
    }
    const std::vector<uint16_t> page = CopyOfFrame();
    FillFrame(Colour(2));
    DrawLines(lines);
    ExpectFrameEquals(page.data(), CopyOfFrame());
}

TEST_F(DialogTest, LinesBreakAtBlanksAndLookAheadPastTheTypedText) {
    ExpectPage("abcd efgh ijkl mnop qrst", 24, {"abcd efgh ijkl mnop", "qrst"});
    EXPECT_EQ(dialog.consumed, 24u);
    EXPECT_EQ(dialog.finished, 1);
    // The word being typed goes straight to the line it will end on.
    // A page is full once the blank after its second line has been typed.
    ExpectPage("abcd efgh ijkl mnop qrst uvwx yzab cdef ghij", 39, {"abcd efgh ijkl mnop", "qrst uvwx yzab cdef"});
    EXPECT_EQ(dialog.typing, 1);
    UpdateDialog(), DrawDialogPage(), AnswerDialog();
    EXPECT_EQ(dialog.typing, 0);
    EXPECT_EQ(dialog.consumed, 40u);
    ExpectPage("aaaa bbbb cccc ddddddd", 16, {"aaaa bbbb cccc", "d"});
    EXPECT_EQ(dialog.typing, 1);
    // Twenty characters fit on a line, twenty-one do not.
    ExpectPage("aaaaaaaaaa bbbbbbbbb cc", 23, {"aaaaaaaaaa bbbbbbbbb", "cc"});
    ExpectPage("aaaaaaaaaa bbbbbbbbbb cc", 24, {"aaaaaaaaaa", "bbbbbbbbbb cc"});
    // Two newlines make one break; a third line waits for the next page.
    ExpectPage("ab\n\ncd", 6, {"ab", "cd"});
    EXPECT_EQ(dialog.finished, 1);
    ExpectPage("ab\ncd\n  ef", 9, {"ab", "cd"});
    EXPECT_EQ(dialog.typing, 0);
    EXPECT_EQ(dialog.finished, 0);
    EXPECT_EQ(dialog.consumed, 6u);
}

TEST_F(DialogTest, PressesTurnFullPagesAndCloseTheLastButNeverSkipTyping) {
    StartDialog(0, "ab\ncd\n  ef", Done);
    Press(ButtonA);  // released in frame 2, while typing
    EXPECT_EQ(dialog.revealed, 2u);
    EXPECT_EQ(dialog.typing, 1);
    Frames(4);  // the page is full in frame 6
    EXPECT_EQ(dialog.typing, 0);
    Press(ButtonB);  // B does nothing in a dialog
    EXPECT_TRUE(heard.empty());
    Press(ButtonStart);  // frame 10
    EXPECT_EQ(dialog.text, "  ef");
    Frames(1);
    Press(ButtonA);  // released in frame 13 with the "e": still typing, ignored
    EXPECT_EQ(dialog.finished, 0);
    Frames(1);  // the "f" finishes the text
    Press(ButtonA);  // frame 16
    EXPECT_EQ(heard, (std::vector<std::pair<int32_t, int32_t>>{{9, 1}, {15, 1}, {15, -1}}));

    // An empty text is finished at once: the mark blinks, the first press closes it.
    heard.clear();
    frameCounter = 0;
    StartDialog(2, "", Done);
    for (int f = 0; f < 48; f++) {
        RunHeadlessFrame();
        ASSERT_EQ(ShownAt(153, 77), f % 24 >= 9 ? Colour(15) : Colour(0)) << f;
    }
    EXPECT_EQ(dialog.finished, 1);
    Press(ButtonStart);
    EXPECT_EQ(heard, (std::vector<std::pair<int32_t, int32_t>>{{49, 1}, {49, -1}}));
}

TEST_F(DialogTest, TalkSoundsStartWithEveryWordButTheFirst) {
    // Frame 4 reveals the c, frame 7 the e; each draws one random number.
    srand(5);
    const int r1 = rand(), r2 = rand(), r3 = rand();
    srand(5);
    StartDialog(1, "ab cd\nef", Done);
    Frames(12);
    EXPECT_EQ(heard, (std::vector<std::pair<int32_t, int32_t>>{{3, 9 + r1 % 3}, {6, 9 + r2 % 3}}));
    EXPECT_EQ(rand(), r3);

    // A finished text talks no more, even when it ends in a blank.
    heard.clear();
    StartDialog(1, "ab ", Done);
    Frames(12);
    EXPECT_TRUE(heard.empty());

    // With effects off the numbers are drawn all the same; without a portrait they are not.
    heard.clear();
    sfxOn = 0;
    srand(5);
    StartDialog(4, "ab cd\nef", Done);
    Frames(12);
    EXPECT_EQ(rand(), r3);
    sfxOn = 1;
    srand(5);
    StartDialog(0, "ab cd\nef", Done);
    Frames(12);
    EXPECT_EQ(rand(), r1);
    EXPECT_TRUE(heard.empty());
}

TEST_F(DialogTest, NewIslandsGreetOverTheSeaPageByPageAndHandTheShipBack) {
    // "Now, go find some / active ports that" | "will give you cargo! / You can see them
    // on" | "your map!": three pages, each turned or closed with its click.
    srand(40);  // a start with islands in view
    highScore = 0;
    level = 0;
    GameState = ScreenSailing;
    GenerateIslands();
    Frames(40);
    EXPECT_EQ(dialog.typing, 0);
    SaveShownFrame(TestFramePath("dialog_over_the_sea").c_str(), 3);
    const int32_t shipX = player->x, shipY = player->y;
    SetButtonKey(ButtonRight, true);  // steering waits for the dialog to close
    for (int page = 0; page < 3; page++) {
        if (page > 0) Frames(60);
        Press(ButtonA);
    }
    EXPECT_EQ(overlayMode, OverlayNone);
    int clicks = 0;
    for (auto& sound : heard) clicks += sound.second == 1;
    EXPECT_EQ(clicks, 3);
    EXPECT_EQ(std::make_pair(player->x, player->y), std::make_pair(shipX, shipY));
    Frames(25);
    EXPECT_GT(player->x, shipX);
    EXPECT_EQ(hudSlide, 0);  // the status bar is back
    SaveShownFrame(TestFramePath("islands_sea_view").c_str(), 3);
}

}  // namespace
