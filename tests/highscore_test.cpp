// The score file: created holding 0 on a first run, read as a formatted number and left
// alone, written bare.
#include <fstream>
#include <sstream>

#include "flow_support.h"

namespace {

std::string FileText(const std::string& path) {
    std::stringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

TEST_F(FlowTest, ScoreFileIsMadeOnTheFirstRunReadAsItStandsAndWrittenBare) {
    highScore = 31;
    LoadHighScore();
    EXPECT_EQ(highScore, 0);
    EXPECT_EQ(FileText(home + "/.Quillbarrow/score"), "0");
    struct Case { const char* text; int32_t score; } cases[] = {
        {"", 0}, {"57", 57}, {" 123abc", 123}, {"\n\t 8\n", 8}, {"garbage", 0}, {"-17", -17}};
    for (const Case& c : cases) {
        std::ofstream(HighScoreFile(), std::ios::binary) << c.text;
        highScore = 99;
        LoadHighScore();
        EXPECT_EQ(highScore, c.score) << '"' << c.text << '"';
        EXPECT_EQ(FileText(HighScoreFile()), c.text);
    }
    SaveHighScore(12345);
    SaveHighScore(-8);
    EXPECT_EQ(FileText(HighScoreFile()), "-8");
    EXPECT_FALSE(std::filesystem::exists(HighScoreFile() + ".new"));  // the new number replaced the old
    // A home that does not exist: nothing is made above the save folder, nothing fails.
    saveDir = home + "/gone/.Quillbarrow/";
    LoadHighScore();
    EXPECT_EQ(highScore, 0);
    EXPECT_FALSE(std::filesystem::exists(home + "/gone"));
}

}  // namespace
