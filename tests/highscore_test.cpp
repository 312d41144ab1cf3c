// The score file: created holding 0 on a first run, read as a formatted number, written
// bare.
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "flow_support.h"

namespace {

std::string FileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

TEST_F(FlowTest, FirstRunMakesTheFolderAndAFileHoldingExactlyZero) {
    highScore = 31;
    LoadHighScore();
    EXPECT_EQ(highScore, 0);
    EXPECT_TRUE(std::filesystem::is_directory(home + "/.Quillbarrow"));
    EXPECT_EQ(HighScoreFile(), home + "/.Quillbarrow/score");
    EXPECT_EQ(FileText(HighScoreFile()), "0");
    // The folder is made open to all; the process's umask decides what is left of that.
    const mode_t mask = umask(0);
    umask(mask);
    const auto permissions = std::filesystem::status(home + "/.Quillbarrow").permissions();
    EXPECT_EQ(static_cast<mode_t>(permissions), 0777 & ~mask);
}

TEST_F(FlowTest, ScoreFileReadsAsAFormattedNumberAndIsLeftAsItWas) {
    struct Case { const char* text; int32_t score; } cases[] = {
        {"", 0}, {"57", 57}, {" 123abc", 123}, {"\n\t 8\n", 8}, {"garbage", 0}, {"-17", -17}, {"+4 9", 4}};
    std::filesystem::create_directory(home + "/.Quillbarrow");
    for (const Case& c : cases) {
        WriteFile(HighScoreFile(), c.text);
        highScore = 99;
        LoadHighScore();
        EXPECT_EQ(highScore, c.score) << '"' << c.text << '"';
        EXPECT_EQ(FileText(HighScoreFile()), c.text);
    }
}

TEST_F(FlowTest, SavingWritesTheBareNumberOverWhateverWasThere) {
    SaveHighScore(12345);
    SaveHighScore(57);
    EXPECT_EQ(FileText(HighScoreFile()), "57");
    SaveHighScore(-8);
    EXPECT_EQ(FileText(HighScoreFile()), "-8");
    // A home that does not exist: nothing is made above the save folder, nothing fails.
    saveDir = home + "/gone/.Quillbarrow/";
    SaveHighScore(40);
    LoadHighScore();
    EXPECT_EQ(highScore, 0);
    EXPECT_FALSE(std::filesystem::exists(home + "/gone"));
}

}  // namespace
