// The typewriter dialog: the box opening, the portrait's rise, line breaking and pages,
// buttons, the blinking mark and the talk sounds, through the dialog screen's frames.
#include <tuple>

#include "dialog.h"
#include "render/sprite.h"
#include "render/text.h"
#include "test_support.h"

namespace {

class DialogTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        GameState = ScreenNewHighScore;  // the dialog alone on a dark screen
        done = 0;
    }
    static inline int32_t done;  // times the done action ran
    static void Done() { done++, heard.push_back("done"); }
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
void DrawBox(int32_t w, int32_t h) {
    for (int32_t tx = 0; tx < w + 2; tx++)
        for (int32_t ty = 0; ty < h + 2; ty++) {
            const int32_t col = tx == 0 ? 0 : tx == w + 1 ? 2 : 1;
            const int32_t row = ty == 0 ? 0 : ty == h + 1 ? 2 : 1;
            DrawSprite16x16(8 + 16 * tx, 64 + 16 * ty, DialogFramePieces + 256 * (row * 3 + col), SeaKey());
        }
}

TEST_F(DialogTest, BoxOpensOverEightFramesWhileThePortraitRisesAndTalks) {
    dialog.portraitFrame = 7, dialog.talkWordStart = true, dialog.boxColumns = 7, dialog.boxRows = 1;
    StartDialog(3, "Ahoy there", Done);
    ClearFrameBuffer();  // as every frame's clearing leaves it
    EXPECT_FALSE(dialog.talkWordStart);  // the rest of the last dialog shows in the pictures
    // Frame by frame: the portrait's top row, its animation frame and table, the box.
    const int32_t kPortraitY[12] = {20, 20, 19, 18, 17, 16, 15, 14, 13, 12, 11, 11};
    const int32_t kPortraitFrame[12] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1};
    const int32_t kColumns[12] = {0, 1, 2, 3, 4, 5, 6, 7, 7, 7, 7, 7};
    for (int32_t k = 0; k < 12; k++) {
        Frames(1);
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
        ASSERT_EQ(Differs(Shown()), "") << "frame " << k + 1;
        ClearFrameBuffer();  // the next frame starts from a cleared picture again
    }
    EXPECT_EQ(hudSlide, -20);
    SaveShownFrame(TestFramePath("dialog_on_black").c_str(), 3);
    // Over the sea the status bar pulls hudSlide back up; at -19 the portrait stands
    // where it does at -20, and the slide goes on down.
    for (int32_t slide : {-19, -20}) {
        FillFrame(Colour(2));
        hudSlide = slide, frameCounter = 1;
        AnimatePortrait(), DrawDialogBox(), OpenDialogBox();
        const Picture drawn = Snapshot();
        FillFrame(Colour(2));
        DrawPortrait56x56(11, PortraitIdleFrames + 56 * 56 * 17, SeaKey());
        for (int32_t i = 0; i < 64 * kScreenWidth; i++) ASSERT_EQ(drawn[i], FrameBuffer[i]) << slide << " at " << i;
        EXPECT_EQ(hudSlide, slide == -19 ? -21 : -20);
    }
}

// Types `text` for `frames` frames (the page's steps alone, over the sea colour) and checks
// that exactly `lines` are on the page.
void ExpectPage(const char* text, int32_t frames, const std::vector<std::string>& lines) {
    StartDialog(0, text, nullptr);
    for (int32_t i = 0; i < frames; i++) {
        FillFrame(Colour(2));
        UpdateDialog(), DrawDialogPage(), AnswerDialog();
    }
    const Picture page = Snapshot();
    FillFrame(Colour(2));
    DrawLines(lines);
    EXPECT_EQ(Differs(page), "") << '"' << text << "\" after " << frames << " frames";
}

TEST_F(DialogTest, LinesBreakAtBlanksAndLookAheadPastTheTypedText) {
    ExpectPage("abcd efgh ijkl mnop qrst", 24, {"abcd efgh ijkl mnop", "qrst"});
    EXPECT_EQ(Values({static_cast<int32_t>(dialog.consumed), dialog.typing, dialog.finished}), Values({24, 0, 1}));
    // The word being typed goes straight to the line it will end on. A page is full once
    // the blank after its second line has been typed.
    ExpectPage("abcd efgh ijkl mnop qrst uvwx yzab cdef ghij", 39, {"abcd efgh ijkl mnop", "qrst uvwx yzab cdef"});
    EXPECT_EQ(dialog.typing, 1);
    UpdateDialog(), DrawDialogPage(), AnswerDialog();
    EXPECT_EQ(Values({static_cast<int32_t>(dialog.consumed), dialog.typing, dialog.finished}), Values({40, 0, 0}));
    ExpectPage("aaaa bbbb cccc ddddddd", 16, {"aaaa bbbb cccc", "d"});
    EXPECT_EQ(dialog.typing, 1);
    // Twenty characters fit on a line, twenty-one do not; a word of more is cut at one.
    ExpectPage("aaaaaaaaaa bbbbbbbbb cc", 23, {"aaaaaaaaaa bbbbbbbbb", "cc"});
    ExpectPage("aaaaaaaaaa bbbbbbbbbb cc", 24, {"aaaaaaaaaa", "bbbbbbbbbb cc"});
    ExpectPage("ab cdefghijklmnopqrstuvwxyz", 27, {"ab", "c"});
    // Two newlines make one break; a third line waits for the next page.
    ExpectPage("ab\n\ncd", 6, {"ab", "cd"});
    EXPECT_EQ(dialog.finished, 1);
    ExpectPage("ab\ncd\n  ef", 9, {"ab", "cd"});
    EXPECT_EQ(Values({static_cast<int32_t>(dialog.consumed), dialog.typing, dialog.finished}), Values({6, 0, 0}));
}

TEST_F(DialogTest, PressesTurnFullPagesAndCloseTheLastButNeverSkipTyping) {
    StartDialog(0, "ab\ncd\n  ef", Done);
    Press(ButtonA);  // released in frame 2, while typing
    EXPECT_EQ(Values({static_cast<int32_t>(dialog.revealed), dialog.typing}), Values({2, 1}));
    Frames(4);  // the page is full in frame 6
    EXPECT_EQ(dialog.typing, 0);
    Press(ButtonB);  // B does nothing in a dialog
    EXPECT_EQ(Heard(), std::vector<std::string>{});
    Press(ButtonStart);  // frame 10: the next page, its leading blanks passed over
    EXPECT_EQ(dialog.text, "  ef");
    EXPECT_EQ(Heard(), std::vector<std::string>{"click"});
    Frames(1);
    Press(ButtonA);  // released in frame 13 with the "e": still typing, ignored
    EXPECT_EQ(Values({dialog.finished, done}), Values({0, 0}));
    Frames(1);  // the "f" finishes the text
    Press(ButtonA);
    EXPECT_EQ(Heard(), (std::vector<std::string>{"click", "done"}));
    // An empty text is finished at once: the mark blinks, the first press closes it.
    frameCounter = 0;
    StartDialog(2, "", Done);
    for (int32_t f = 0; f < 48; f++) {
        Frames(1);
        ASSERT_EQ(ShownAt(153, 77), f % 24 >= 9 ? Colour(15) : Colour(0)) << f;
    }
    EXPECT_EQ(dialog.finished, 1);
    Press(ButtonStart);
    EXPECT_EQ(Heard(), (std::vector<std::string>{"click", "done"}));
    EXPECT_EQ(done, 2);
}

TEST_F(DialogTest, TalkSoundsStartWithEveryWordButTheFirst) {
    // Frame 4 reveals the c, frame 7 the e; each draws one talk sound of three.
    const int32_t after = SeedDraws({{3, 2}, {3, 0}});
    StartDialog(1, "ab cd\nef", Done);
    Frames(3);
    EXPECT_EQ(Heard(), std::vector<std::string>{});
    Frames(1);
    EXPECT_EQ(Heard(), std::vector<std::string>{"talk3"});
    Frames(8);
    EXPECT_EQ(Heard(), std::vector<std::string>{"talk1"});
    EXPECT_EQ(std::rand(), after);
    // A finished text talks no more, even when it ends in a blank.
    StartDialog(1, "ab ", Done);
    Frames(12);
    EXPECT_EQ(Heard(), std::vector<std::string>{});
    // With effects off the numbers are drawn all the same; without a portrait they are not.
    for (const auto& [portrait, effects, draws] : {std::tuple{4, false, 2}, {0, true, 0}}) {
        const Values numbers = RandFrom(5, 3);
        sfxOn = effects;
        StartDialog(portrait, "ab cd\nef", Done);
        Frames(12);
        EXPECT_EQ(std::rand(), numbers[draws]);
        EXPECT_EQ(Heard(), std::vector<std::string>{});
    }
}

}  // namespace
