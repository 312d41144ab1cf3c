// The score file: made on a first run, read as it stands whatever it holds, and
// written so that a kill at any instant, a full disk or a home the player may not
// write never loses the best score.
#include <grp.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

#include "flow_support.h"
#include "platform/files.h"
#include "score_cases.h"

namespace {

namespace fs = std::filesystem;

std::string FileText(const std::string& path) {
    std::stringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

// Makes path (and the folders above it) hold text with the given permissions.
void Put(const std::string& path, const std::string& text, mode_t mode = 0644) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
    chmod(path.c_str(), mode);
}

// Everything under folder, in name order: "name/" for a folder, "name=text" for a
// file, "name->target" for a link, with permissions in brackets where they are not
// the usual 755 or 644: ".Quillbarrow/ .Quillbarrow/score(444)=40".
std::string Listing(const std::string& folder) {
    std::vector<std::string> entries;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(folder, error); it != fs::recursive_directory_iterator();
         it.increment(error)) {
        const std::string name = it->path().lexically_relative(folder).string();
        const fs::file_status status = it->symlink_status();
        const auto mode = static_cast<int>(status.permissions() & fs::perms::mask);
        std::ostringstream entry;
        if (fs::is_symlink(status)) {
            entries.push_back(name + "->" + fs::read_symlink(it->path()).string());
            continue;
        }
        const bool folderEntry = fs::is_directory(status);
        entry << name << (folderEntry ? "/" : "");
        if (mode != (folderEntry ? 0755 : 0644)) entry << '(' << std::oct << mode << ')';
        if (!folderEntry) entry << '=' << FileText(it->path());
        entries.push_back(entry.str());
    }
    std::sort(entries.begin(), entries.end());
    std::string listing;
    for (const std::string& entry : entries) listing += (listing.empty() ? "" : " ") + entry;
    return listing;
}

TEST_F(FlowTest, EveryScoreFileReadsAsItsNumberAndIsLeftAsItIs) {
    highScore = 31;
    LoadHighScore();
    EXPECT_EQ(highScore, 0);
    EXPECT_EQ(FileText(home + "/.Quillbarrow/score"), "0");
    for (const ScoreCase& c : ScoreCases()) {
        const std::string shown = c.text.size() > 40 ? c.text.substr(0, 40) + "..." : c.text;
        Put(HighScoreFile(), c.text);
        int32_t value = 99;  // where there is no number, left as it was
        EXPECT_TRUE(ReadNumberFile(HighScoreFile().c_str(), &value));
        EXPECT_EQ(value, c.number ? c.score : 99) << '"' << shown << '"';
        highScore = 99;
        LoadHighScore();
        EXPECT_EQ(highScore, c.score) << '"' << shown << '"';
        EXPECT_TRUE(FileText(HighScoreFile()) == c.text) << '"' << shown << '"';
    }
    for (const int32_t score : {12345, INT32_MIN, -8}) SaveHighScore(score);
    EXPECT_EQ(Listing(home), ".Quillbarrow/ .Quillbarrow/score=-8");
    // A home that does not exist: nothing is made above the save folder, nothing fails.
    saveDir = home + "/gone/.Quillbarrow/";
    LoadHighScore();
    EXPECT_EQ(highScore, 0);
    EXPECT_FALSE(fs::exists(home + "/gone"));
}

// The save is killed, hundreds of times, at random instants spread over a few saves
// in a row: mid-write, between the write and the rename, mid-sync. The file always
// holds one whole number, the old or the new, and the boot reads exactly that.
TEST_F(FlowTest, ASaveKilledAtAnyInstantLeavesTheOldScoreOrTheNew) {
    // Two numbers of different lengths, so that a mixture of the two or a cut shows.
    const int32_t numbers[2] = {7, INT32_MIN};
    const std::string texts[2] = {"7", "-2147483648"};
    for (int32_t i = 0; i < 10; i++) SaveHighScore(numbers[i % 2]);
    // Ten saves timed as the trials run them, in a child from its fork to its end (under
    // an emulator a child's first saves are much slower than the parent's).
    const auto start = std::chrono::steady_clock::now();
    const pid_t timed = fork();
    ASSERT_GE(timed, 0);
    if (timed == 0) {
        for (int32_t i = 0; i < 10; i++) SaveHighScore(numbers[i % 2]);
        _exit(0);
    }
    waitpid(timed, nullptr, 0);
    const auto tenSaves = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    const int64_t spread = 500 + tenSaves.count() / 6;  // the child's start, then a save and a half
    const std::string leftover = HighScoreFile() + ".new";

    std::mt19937 delays(11);
    int32_t seen[2] = {}, midSave = 0, trials = 250;
    for (int32_t trial = 0; trial < trials; trial++) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int32_t i = 1;; i++) SaveHighScore(numbers[(trial + i) % 2]);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delays() % spread));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));

        const std::string text = FileText(HighScoreFile());
        ASSERT_TRUE(text == texts[0] || text == texts[1]) << "trial " << trial << ": \"" << text << '"';
        seen[text == texts[1]]++;
        midSave += fs::exists(leftover);
        LoadHighScore();  // a leftover new file is never taken for the score
        EXPECT_EQ(std::to_string(highScore), text);
        ASSERT_LE(std::distance(fs::directory_iterator(saveDir), fs::directory_iterator()), 2);
    }
    std::cout << trials << " saves killed (a save takes " << tenSaves.count() / 10 << " us): " << seen[0]
              << " left 7, " << seen[1] << " left -2147483648, " << midSave
              << " were cut between the new file and the rename; nothing lost\n";
    EXPECT_GT(seen[0], 0);
    EXPECT_GT(seen[1], 0);
    EXPECT_GT(midSave, 0);
    SaveHighScore(57);  // the next save clears the leftover
    EXPECT_EQ(Listing(home), ".Quillbarrow/ .Quillbarrow/score=57");
}

// Runs save in a child process that bears the file size limit, SIGXFSZ ignored.
void SaveUnderSizeLimit(rlim_t bytes, int32_t score) {
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit = {bytes, bytes};
        setrlimit(RLIMIT_FSIZE, &limit);
        SaveHighScore(score);
        _exit(0);
    }
    waitpid(child, nullptr, 0);
}

TEST_F(FlowTest, AFullDiskKeepsTheOldScore) {
    // A file size limit stops writes as a full card does: nothing at all, or a first
    // byte and then nothing.
    SaveHighScore(40);
    for (const rlim_t bytes : {0, 1, 5}) {
        SaveUnderSizeLimit(bytes, 123456);
        EXPECT_EQ(Listing(home), ".Quillbarrow/ .Quillbarrow/score=40") << bytes << " bytes";
    }
    SaveUnderSizeLimit(6, 123456);
    EXPECT_EQ(Listing(home), ".Quillbarrow/ .Quillbarrow/score=123456");

    // A small disk of its own, filled to the last block, where the test may mount one.
    const std::string disk = home + "/card";
    fs::create_directory(disk);
    if (mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=64k") != 0) {
        std::cout << "no tmpfs could be mounted here: the full disk is a file size limit only\n";
        return;
    }
    saveDir = disk + "/.Quillbarrow/";
    SaveHighScore(40);
    {
        std::ofstream filler(disk + "/filler", std::ios::binary);
        const std::string block(4096, 'x');
        for (int32_t i = 0; i < 64 && filler.write(block.data(), block.size()).flush(); i++) {
        }
    }
    SaveHighScore(123456);
    const std::string kept = FileText(HighScoreFile());
    const std::string after = Listing(disk + "/.Quillbarrow");
    fs::remove(disk + "/filler");
    SaveHighScore(123456);
    const std::string freed = FileText(HighScoreFile());
    umount2(disk.c_str(), MNT_DETACH);
    EXPECT_EQ(kept, "40");
    EXPECT_EQ(after, "score=40");  // and no new file left behind
    EXPECT_EQ(freed, "123456");
}

// What a player without root's rights meets: the test becomes nobody where it runs as
// root, in a child process, since root's rights pass every permission.
constexpr uid_t kPlayer = 65534;

// Runs step in a child process as the player; returns what the child printed, "=",
// and highScore as the step left it. "cannot become a player" when it cannot drop root.
std::string AsPlayer(void (*step)()) {
    int out[2];
    if (pipe(out) != 0) return "no pipe";
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], 1);
        dup2(out[1], 2);
        close(out[0]);
        umask(022);
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(kPlayer) != 0 || setuid(kPlayer) != 0)) {
            std::printf("cannot become a player");
            _exit(1);
        }
        step();
        std::printf("=%d", highScore);
        std::fflush(stdout);
        _exit(0);
    }
    close(out[1]);
    std::string said;
    char chunk[256];
    for (ssize_t got; (got = read(out[0], chunk, sizeof chunk)) > 0;) said.append(chunk, static_cast<size_t>(got));
    close(out[0]);
    waitpid(child, nullptr, 0);
    return said;
}

void Boot() { LoadHighScore(); }
// The end of a game with 57 gold over a best of less: the best is set, then saved.
void EndWith57() {
    highScore = 57;
    SaveHighScore(57);
}

TEST_F(FlowTest, AHomeThePlayerCannotWriteKeepsTheOldScoreAndThePlayGoesOn) {
    if (AsPlayer(Boot) == "cannot become a player") GTEST_SKIP() << "cannot drop root's rights here";
    chmod(home.c_str(), 0711);  // the player may pass through the test's own folder
    struct Case {
        const char* name;
        void (*setup)(const std::string& home);
        const char* saveDir;  // under the home
        int32_t bootScore;    // highScore after the boot
        const char* booted;   // the home after the boot, then after the game's end
        const char* ended;
    } cases[] = {
        {"first run", [](const std::string&) {}, ".Quillbarrow/", 0,
         ".Quillbarrow/ .Quillbarrow/score=0", ".Quillbarrow/ .Quillbarrow/score=57"},
        {"read-only score file", [](const std::string& h) { Put(h + "/.Quillbarrow/score", "40", 0444); },
         ".Quillbarrow/", 40, ".Quillbarrow/ .Quillbarrow/score(444)=40", ".Quillbarrow/ .Quillbarrow/score(444)=40"},
        {"unreadable score file", [](const std::string& h) { Put(h + "/.Quillbarrow/score", "40", 0); },
         ".Quillbarrow/", 0, ".Quillbarrow/ .Quillbarrow/score(0)=40", ".Quillbarrow/ .Quillbarrow/score(0)=40"},
        {"write-only score file", [](const std::string& h) { Put(h + "/.Quillbarrow/score", "40", 0200); },
         ".Quillbarrow/", 0, ".Quillbarrow/ .Quillbarrow/score(200)=40", ".Quillbarrow/ .Quillbarrow/score(200)=57"},
        {"links to a file kept elsewhere", [](const std::string& h) {
             Put(h + "/sync/best", "40", 0640);
             fs::create_directory(h + "/.Quillbarrow");
             fs::create_symlink("../link", h + "/.Quillbarrow/score");
             fs::create_symlink("sync/best", h + "/link");
         },
         ".Quillbarrow/", 40, ".Quillbarrow/ .Quillbarrow/score->../link link->sync/best sync/ sync/best(640)=40",
         ".Quillbarrow/ .Quillbarrow/score->../link link->sync/best sync/ sync/best(640)=57"},
        {"dangling link", [](const std::string& h) {
             fs::create_directories(h + "/.Quillbarrow");
             fs::create_symlink("../best", h + "/.Quillbarrow/score");
         },
         ".Quillbarrow/", 0, ".Quillbarrow/ .Quillbarrow/score->../best best=0",
         ".Quillbarrow/ .Quillbarrow/score->../best best=57"},
        {"link loop", [](const std::string& h) {
             fs::create_directories(h + "/.Quillbarrow");
             fs::create_symlink("score", h + "/.Quillbarrow/loop");
             fs::create_symlink("loop", h + "/.Quillbarrow/score");
         },
         ".Quillbarrow/", 0, ".Quillbarrow/ .Quillbarrow/loop->score .Quillbarrow/score->loop",
         ".Quillbarrow/ .Quillbarrow/loop->score .Quillbarrow/score->loop"},
        {"score file is a folder", [](const std::string& h) { fs::create_directories(h + "/.Quillbarrow/score"); },
         ".Quillbarrow/", 0, ".Quillbarrow/ .Quillbarrow/score/", ".Quillbarrow/ .Quillbarrow/score/"},
        {"save folder is a file", [](const std::string& h) { Put(h + "/.Quillbarrow", "notes"); },
         ".Quillbarrow/", 0, ".Quillbarrow=notes", ".Quillbarrow=notes"},
        {"home is a file", [](const std::string& h) { Put(h + "/notes", "ahoy"); },
         "notes/.Quillbarrow/", 0, "notes=ahoy", "notes=ahoy"},
        {"read-only home", [](const std::string& h) { chmod(h.c_str(), 0555); }, ".Quillbarrow/", 0, "", ""},
        {"read-only save folder", [](const std::string& h) {
             Put(h + "/.Quillbarrow/score", "40");
             chmod((h + "/.Quillbarrow").c_str(), 0555);
         },
         ".Quillbarrow/", 40, ".Quillbarrow/(555) .Quillbarrow/score=40", ".Quillbarrow/(555) .Quillbarrow/score=57"},
        {"leftover of a save cut short", [](const std::string& h) {
             Put(h + "/.Quillbarrow/score", "40");
             Put(h + "/.Quillbarrow/score.new", "99");
         },
         ".Quillbarrow/", 40, ".Quillbarrow/ .Quillbarrow/score.new=99 .Quillbarrow/score=40",
         ".Quillbarrow/ .Quillbarrow/score=57"},
    };
    int32_t number = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string player = home + "/player" + std::to_string(number++);
        fs::create_directory(player);
        c.setup(player);
        // Everything in the home is the player's own.
        lchown(player.c_str(), kPlayer, kPlayer);
        for (const auto& entry : fs::recursive_directory_iterator(player))
            lchown(entry.path().c_str(), kPlayer, kPlayer);
        saveDir = player + "/" + c.saveDir;
        EXPECT_EQ(AsPlayer(Boot), "=" + std::to_string(c.bootScore));  // and nothing said
        EXPECT_EQ(Listing(player), c.booted);
        EXPECT_EQ(AsPlayer(EndWith57), "=57");  // the best is kept for the run
        EXPECT_EQ(Listing(player), c.ended);
        chmod(player.c_str(), 0755);
    }
}

}  // namespace
