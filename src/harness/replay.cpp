#include "harness/replay.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <strings.h>
#include <vector>

#include "flow/highscore.h"
#include "harness/headless.h"
#include "platform/audio.h"
#include "platform/files.h"
#include "platform/frame.h"
#include "platform/input.h"

namespace {

// The names the log gives the sounds and tracks, in table order.
const char* const kSoundNames[kSoundCount] = {"beep",     "click", "shoot",     "miss",  "hit",   "whirl",
                                              "gameover", "money", "nextlevel", "talk1", "talk2", "talk3"};
const char* const kMusicNames[kMusicCount] = {"menu", "ingame", "danger"};

struct ButtonName {
    const char* name;
    int32_t button;
};
const ButtonName kButtonNames[] = {{"A", ButtonA},       {"B", ButtonB},       {"Up", ButtonUp},
                                   {"Down", ButtonDown}, {"Left", ButtonLeft}, {"Right", ButtonRight},
                                   {"Start", ButtonStart}};

// The replay in progress.
std::string* replayLog;
int32_t framesRun;  // frames run so far; the frame being run is framesRun + 1

void LogEvent(const std::string& what) {
    *replayLog += std::to_string(framesRun + 1) + " " + what + "\n";
}
void LogSound(int32_t n) { LogEvent(std::string("sound ") + kSoundNames[n]); }
void LogMusic(int32_t i) { LogEvent(std::string("music ") + kMusicNames[i]); }
void LogMusicHalt() { LogEvent("music stop"); }

void RunFrames(int32_t count) {
    for (int32_t i = 0; i < count; i++) {
        RunHeadlessFrame();
        framesRun++;
    }
}

bool ParseButton(const std::string& word, int32_t* button) {
    for (const ButtonName& b : kButtonNames) {
        if (strcasecmp(word.c_str(), b.name) == 0) {
            *button = b.button;
            return true;
        }
    }
    return false;
}

bool ParseNumber(const std::string& word, int32_t* value) {
    if (word.empty()) return false;
    char* end = nullptr;
    const long number = std::strtol(word.c_str(), &end, 10);
    if (*end != '\0') return false;
    *value = static_cast<int32_t>(number);
    return true;
}

// Runs one command; returns an error message, or "" when it ran.
std::string RunCommand(const std::vector<std::string>& words, const std::string& outDir, int32_t* scale) {
    const std::string& command = words[0];
    const size_t given = words.size() - 1;  // words after the command

    if (command == "seed" || command == "score" || command == "scale") {
        int32_t value = 0;
        if (given != 1 || !ParseNumber(words[1], &value)) return command + " needs one number";
        if (command == "seed") {
            std::srand(static_cast<unsigned>(value));
        } else if (command == "score") {
            SaveHighScore(value);
        } else {
            if (value < 1) return "scale must be 1 or more";
            *scale = value;
        }
        return "";
    }

    if (command == "wait") {
        int32_t frames = 1;
        if (given > 1 || (given == 1 && (!ParseNumber(words[1], &frames) || frames < 0)))
            return "wait needs a number of frames";
        RunFrames(frames);
        return "";
    }

    if (command == "press" || command == "hold" || command == "down" || command == "up") {
        int32_t button = 0;
        if (given < 1 || !ParseButton(words[1], &button))
            return "unknown button '" + (given < 1 ? std::string() : words[1]) + "'";
        if (command == "down" || command == "up") {
            if (given != 1) return command + " takes only a button";
            SetButtonKey(button, command == "down");
            return "";
        }
        int32_t frames = 1;
        if (given > 2 || (command == "hold" && given < 2) ||
            (given == 2 && (!ParseNumber(words[2], &frames) || frames < 1)))
            return command + " needs a button and a number of frames";
        SetButtonKey(button, true);
        RunFrames(frames);
        SetButtonKey(button, false);
        if (command == "press") RunFrames(1);  // the frame that sees the release acts on it
        return "";
    }

    if (command == "home" || command == "shot") {
        if (given != 1) return command + " needs one path";
        if (command == "home") {
            MakeDirectory(words[1].c_str());
            saveDir = words[1] + "/.Quillbarrow/";
            return "";
        }
        const std::string path = words[1][0] == '/' ? words[1] : outDir + "/" + words[1];
        if (!SaveShownFrame(path.c_str(), *scale)) return "cannot write " + path;
        return "";
    }

    return "unknown command '" + command + "'";
}

}  // namespace

std::string RunReplay(const std::string& script, const std::string& outDir, std::string* log) {
    // Start as the game's own start-up does, but with the seed and the home given here.
    InitPalettes();
    StartHeadless();
    std::srand(1);
    MakeDirectory(outDir.c_str());
    const std::string scratchHome = MakeTemporaryDirectory();  // every replay a first run
    saveDir = scratchHome + "/.Quillbarrow/";
    replayLog = log;
    framesRun = 0;
    soundStarted = LogSound;
    musicStarted = LogMusic;
    musicHalted = LogMusicHalt;

    int32_t scale = 2;
    std::string error;
    std::istringstream lines(script);
    std::string line;
    for (int32_t number = 1; error.empty() && std::getline(lines, line); number++) {
        std::istringstream wordStream(line);
        std::vector<std::string> words;
        for (std::string word; wordStream >> word;) words.push_back(word);
        if (words.empty() || words[0][0] == '#') continue;
        error = RunCommand(words, outDir, &scale);
        if (!error.empty()) error = "line " + std::to_string(number) + ": " + error;
    }

    soundStarted = nullptr;
    musicStarted = nullptr;
    musicHalted = nullptr;
    if (!scratchHome.empty()) RemoveDirectoryTree(scratchHome);
    return error;
}
