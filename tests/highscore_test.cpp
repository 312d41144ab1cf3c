// The score file: made on a first run, read as it stands whatever it holds, and
// written so that a kill at any instant, a full disk, another game saving at the same
// moment or a home the player may not write never loses or lowers the best score.
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <array>
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

// The player of the permission cases: nobody.
constexpr uid_t kPlayer = 65534;

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

// Makes path hold text in one step, as the test's own way to put an old score back
// (a kill in the middle of it leaves the one before or this one).
void PutWhole(const std::string& home, const std::string& path, const std::string& text) {
    Put(home + "/reset", text);
    rename((home + "/reset").c_str(), path.c_str());
}

// A number from the environment (for the long runs behind the README's figures), or
// the suite's own.
int32_t Runs(const char* name, int32_t suite) {
    const char* given = std::getenv(name);
    return given != nullptr && std::atoi(given) > 0 ? std::atoi(given) : suite;
}

// Everything under folder, in name order: "name/" for a folder, "name=text" for a
// file, "name->target" for a link, "name(pipe)" and "name(device)", with permissions in
// brackets where they are not the usual 755 or 644: ".Quillbarrow/ .Quillbarrow/score(444)=40".
// A link to a terminal shows as "->/dev/pts".
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
            const std::string target = fs::read_symlink(it->path()).string();
            entries.push_back(name + "->" + (target.rfind("/dev/pts/", 0) == 0 ? "/dev/pts" : target));
            continue;
        }
        if (fs::is_fifo(status) || fs::is_character_file(status)) {
            entries.push_back(name + (fs::is_fifo(status) ? "(pipe)" : "(device)"));
            continue;
        }
        const bool folderEntry = fs::is_directory(status);
        entry << name << (folderEntry ? "/" : "");
        if (mode != (folderEntry ? 0755 : 0644)) entry << '(' << std::oct << mode << ')';
        if (!folderEntry) {
            // A file the test may not read (run as its owner rather than as root) is opened
            // to its owner for the reading, then closed again.
            const bool closed = (mode & 0400) == 0;
            if (closed) chmod(it->path().c_str(), static_cast<mode_t>(mode | 0400));
            entry << '=' << FileText(it->path());
            if (closed) chmod(it->path().c_str(), static_cast<mode_t>(mode));
        }
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
        // A save reads the number as the boot does: one as large stays as it is written,
        // a file holding none is replaced, and so is any smaller number.
        SaveHighScore(c.score);
        EXPECT_TRUE(FileText(HighScoreFile()) == (c.number ? c.text : "0")) << '"' << shown << '"';
        if (c.score == INT32_MAX) continue;
        SaveHighScore(c.score + 1);
        EXPECT_EQ(FileText(HighScoreFile()), std::to_string(c.score + 1)) << '"' << shown << '"';
    }
    // Only a higher score replaces the stored one.
    for (const int32_t score : {-8, INT32_MIN, 12345, -9}) SaveHighScore(score);
    EXPECT_EQ(Listing(home), ".Quillbarrow/ .Quillbarrow/score=12345");
    // Root, saving over a player's file or one of another group, gives the new file the
    // old one's owner, group and permissions.
    for (const auto& [owner, group, mode] : {std::array<uint32_t, 3>{kPlayer, kPlayer, 0600}, {0, kPlayer, 0640}}) {
        if (geteuid() != 0) break;
        ASSERT_EQ(chown(HighScoreFile().c_str(), owner, group), 0);
        chmod(HighScoreFile().c_str(), mode);
        SaveHighScore(std::stoi(FileText(HighScoreFile())) + 1);
        struct stat saved;
        EXPECT_EQ(stat(HighScoreFile().c_str(), &saved), 0);
        EXPECT_EQ(std::vector<uint32_t>({saved.st_uid, saved.st_gid, saved.st_mode & 07777}),
                  std::vector<uint32_t>({owner, group, mode}));
    }
    EXPECT_EQ(FileText(HighScoreFile()), geteuid() == 0 ? "12347" : "12345");
    // A home that does not exist: nothing is made above the save folder, nothing fails.
    saveDir = home + "/gone/.Quillbarrow/";
    LoadHighScore();
    EXPECT_EQ(highScore, 0);
    EXPECT_FALSE(fs::exists(home + "/gone"));
}

// The ways a save can go, each from a home set up once for it: the file the number
// lives in (under the home), whether an old score of 7 is there to replace (else there
// is no file at all), and whether a higher score can take its place.
struct SavePath {
    const char* name;
    std::string file;
    void (*setUp)(const std::string& home);  // the folders and links
    bool existing;
    bool replaceable;
};

// A name that leaves no room for anything after it: a file system takes 255 bytes.
const std::string kLongName(255, 'q');

std::vector<SavePath> SavePaths() {
    return {
        {"first save", ".Quillbarrow/score", [](const std::string& h) { fs::create_directories(h + "/.Quillbarrow"); },
         false, true},
        {"over a lower score", ".Quillbarrow/score",
         [](const std::string& h) { fs::create_directories(h + "/.Quillbarrow"); }, true, true},
        {"through a link", "elsewhere/best", [](const std::string& h) {
             fs::create_directories(h + "/.Quillbarrow");
             fs::create_directories(h + "/elsewhere");
             fs::create_symlink("../elsewhere/best", h + "/.Quillbarrow/score");
         },
         true, true},
        {"no room beside it for a new file", kLongName, [](const std::string& h) {
             fs::create_directories(h + "/.Quillbarrow");
             fs::create_symlink("../" + kLongName, h + "/.Quillbarrow/score");
         },
         true, false},
    };
}

// Puts the path's old state back: 7 in the file, or no file.
void PutBack(const std::string& home, const SavePath& path) {
    if (path.existing) {
        PutWhole(home, home + "/" + path.file, "7");
    } else {
        unlink((home + "/" + path.file).c_str());
    }
}

// What a save cut short left in the folder of path's file.
int32_t Leftovers(const std::string& home, const SavePath& path) {
    const fs::path file = fs::path(home) / path.file;
    int32_t left = 0;
    for (const auto& entry : fs::directory_iterator(file.parent_path()))
        left += entry.path().filename().string().rfind(file.filename().string() + ".new", 0) == 0;
    return left;
}

// The save is killed, hundreds of times, at random instants spread over the old score
// being put back and two saves, a higher score and a lower one: mid-write, between the
// write and the rename, mid-sync, while reading the old number. Along every path a save
// can take, the file always holds one whole number, the old or the higher, never
// nothing and never part of one, and the boot reads exactly that.
TEST_F(FlowTest, ASaveKilledAtAnyInstantLeavesTheOldScoreOrTheNew) {
    const int32_t trials = Runs("QUILLBARROW_KILL_TRIALS", 200);
    const std::vector<SavePath> paths = SavePaths();
    std::mt19937 delays(11);
    std::ostringstream report;
    report << trials << " saves killed:";
    for (size_t p = 0; p < paths.size(); p++) {
        const SavePath& path = paths[p];
        SCOPED_TRACE(path.name);
        const std::string place = home + "/" + std::to_string(p);
        path.setUp(place);
        saveDir = place + "/.Quillbarrow/";
        const std::string file = place + "/" + path.file;
        const auto run = [&] {
            for (;;) {
                PutBack(place, path);
                SaveHighScore(2147483647);
                SaveHighScore(5);
            }
        };
        // Ten rounds timed as the trials run them, in a child from its fork on (under an
        // emulator a child's first saves are much slower than the parent's); the kills
        // fall over the child's start and a round and a half.
        const auto start = std::chrono::steady_clock::now();
        const pid_t timed = fork();
        ASSERT_GE(timed, 0);
        if (timed == 0) {
            for (int32_t i = 0; i < 10; i++) PutBack(place, path), SaveHighScore(2147483647), SaveHighScore(5);
            _exit(0);
        }
        waitpid(timed, nullptr, 0);
        const auto tenRounds = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
        int64_t spread = 500 + tenRounds.count() * 3 / 20;

        int32_t old = 0, higher = 0, none = 0, cut = 0;
        const int32_t count = trials / static_cast<int32_t>(paths.size());
        // Where a busy machine made the rounds slower than timed, so that no kill fell
        // after the rename yet, more trials follow with the kills spread further.
        const auto reachedEveryStep = [&] { return !path.replaceable || (higher > 0 && cut > 0); };
        int32_t trial = 0;
        for (; trial < count || (!reachedEveryStep() && trial < 4 * count); trial++) {
            if (trial >= count && trial % 10 == 0) spread *= 2;
            PutBack(place, path);
            const pid_t child = fork();
            ASSERT_GE(child, 0);
            if (child == 0) run();
            std::this_thread::sleep_for(std::chrono::microseconds(delays() % spread));
            kill(child, SIGKILL);
            int status = 0;
            waitpid(child, &status, 0);
            ASSERT_TRUE(WIFSIGNALED(status));

            const bool there = fs::exists(file);
            const std::string text = FileText(file);
            ASSERT_TRUE((path.existing || !there || text == "2147483647") &&
                        (!path.existing || text == "7" || (path.replaceable && text == "2147483647")))
                << "trial " << trial << ": \"" << text << '"' << (there ? "" : " (no file)");
            old += text == "7", higher += text == "2147483647", none += !there;
            const int32_t left = Leftovers(place, path);
            ASSERT_LE(left, 1) << "trial " << trial;
            cut += left;
            LoadHighScore();  // a leftover new file is never taken for the score
            EXPECT_EQ(highScore, there ? std::atoi(text.c_str()) : 0) << "trial " << trial;
        }
        report << ' ' << path.name << ' ' << trial << " (" << tenRounds.count() / 10 << " us a round): " << old
               << " left 7, " << higher << " 2147483647, " << none << " no file, " << cut
               << " a new file not yet renamed;";
        if (path.replaceable) {
            EXPECT_GT(higher, 0);
            EXPECT_GT(cut, 0);
            EXPECT_GT(path.existing ? old : none, 0);
        }
        // The next save clears what a cut one left.
        PutBack(place, path);
        SaveHighScore(57);
        EXPECT_EQ(Leftovers(place, path), 0);
        EXPECT_EQ(FileText(file), path.replaceable ? "57" : "7");
    }
    std::cout << report.str() << " nothing lost\n";
}

// Two games with the same home, one ending on 50 and the other on 20 at the same moment
// or a moment later, in either order, hundreds of times, while a third process reads
// the file all along: the file always ends on 50, and no read ever finds it empty or
// holding anything but a whole number.
TEST_F(FlowTest, TwoGamesEndingAtOnceLeaveTheHigherScore) {
    const int32_t races = Runs("QUILLBARROW_RACES", 100);
    SaveHighScore(0);
    const std::string file = HighScoreFile();
    int stop[2], report[2];
    ASSERT_EQ(pipe(stop), 0);
    ASSERT_EQ(pipe(report), 0);
    const pid_t reader = fork();
    ASSERT_GE(reader, 0);
    if (reader == 0) {
        close(stop[1]);
        close(report[0]);
        int64_t reads = 0, wrong = 0;
        std::string seen;
        // Reads until the test closes its end of the stop pipe.
        for (pollfd done = {stop[0], POLLIN, 0}; poll(&done, 1, 0) == 0; reads++) {
            const std::string text = FileText(file);
            if (text != "0" && text != "20" && text != "50") wrong++, seen = text;
        }
        const std::string said = std::to_string(reads) + " reads, " + std::to_string(wrong) + " wrong \"" + seen + '"';
        const ssize_t ignored = write(report[1], said.data(), said.size());
        (void)ignored;
        _exit(0);
    }
    close(stop[0]);
    close(report[1]);
    std::mt19937 delays(5);
    int32_t lost = 0;
    for (int32_t race = 0; race < races; race++) {
        PutWhole(home, file, "0");
        int go[2];
        ASSERT_EQ(pipe(go), 0);
        pid_t games[2];
        for (int32_t g = 0; g < 2; g++) {
            const int32_t score = g == 0 ? 50 : 20;
            const int64_t later = (race % 2 == g) ? delays() % 400 : 0;  // microseconds
            games[g] = fork();
            ASSERT_GE(games[g], 0);
            if (games[g] == 0) {
                close(go[1]);
                char ready;
                const ssize_t ignored = read(go[0], &ready, 1);  // both set off together
                (void)ignored;
                std::this_thread::sleep_for(std::chrono::microseconds(later));
                SaveHighScore(score);
                _exit(0);
            }
        }
        close(go[0]);
        close(go[1]);
        for (const pid_t game : games) waitpid(game, nullptr, 0);
        lost += FileText(file) != "50";
    }
    close(stop[1]);
    std::string said;
    char chunk[256];
    for (ssize_t got; (got = read(report[0], chunk, sizeof chunk)) > 0;) said.append(chunk, static_cast<size_t>(got));
    close(report[0]);
    waitpid(reader, nullptr, 0);
    std::cout << races << " races of a 50 and a 20: " << lost << " ended below 50; a reader meanwhile: " << said << '\n';
    EXPECT_EQ(lost, 0);
    EXPECT_NE(said.find(" reads, 0 wrong"), std::string::npos) << said;
}

// Runs a save in a child process that bears the file size limit, SIGXFSZ ignored.
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

    // Small disks of their own, where the test may mount them: one filled to its last
    // block, one out of inodes (where no new file can be made at all). Along every path
    // a save can take, the old score (or no file) stays, nothing is left beside it, and
    // the save goes through once there is room again.
    const std::string disk = home + "/card";
    fs::create_directory(disk);
    for (const char* room : {"size=64k", "size=16m,nr_inodes=16"}) {
        for (const SavePath& path : SavePaths()) {
            SCOPED_TRACE(std::string(room) + ", " + path.name);
            if (mount("tmpfs", disk.c_str(), "tmpfs", 0, room) != 0) {
                std::cout << "no tmpfs could be mounted here: the full disk is a file size limit only\n";
                return;
            }
            path.setUp(disk);
            saveDir = disk + "/.Quillbarrow/";
            PutBack(disk, path);
            const std::string file = disk + "/" + path.file;
            std::vector<std::string> fillers;
            for (bool more = true; more; fillers.push_back(disk + "/filler" + std::to_string(fillers.size()))) {
                std::ofstream filler(disk + "/filler" + std::to_string(fillers.size()), std::ios::binary);
                const std::string block(4096, 'x');
                for (int32_t i = 0; i < 64 && filler.write(block.data(), block.size()).flush(); i++) {
                }
                more = filler.good() && fillers.size() < 100;
            }
            SaveHighScore(123456);
            const std::string kept = FileText(file);
            const bool there = fs::exists(file);
            const int32_t left = Leftovers(disk, path);
            for (const std::string& filler : fillers) fs::remove(filler);
            SaveHighScore(123456);
            const std::string freed = FileText(file);
            umount2(disk.c_str(), MNT_DETACH);
            EXPECT_EQ(there, path.existing);
            EXPECT_EQ(kept, path.existing ? "7" : "");
            EXPECT_EQ(left, 0);
            EXPECT_EQ(freed, path.replaceable ? "123456" : "7");
        }
    }
}

// What a player without root's rights meets: the test becomes the player (kPlayer)
// where it runs as root, in a child process, since root's rights pass every permission.

// Runs step in a child process as the player; returns what the child printed, "=",
// and highScore as the step left it. "cannot become a player" when it cannot drop root.
// A step is given three seconds (a boot or a save takes milliseconds): one that waits
// on something is ended there, which shows as "killed".
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
        alarm(3);
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
    int status = 0;
    waitpid(child, &status, 0);
    return WIFSIGNALED(status) ? said + "killed" : said;
}

void Boot() { LoadHighScore(); }
// The end of a game with 57 gold over a best of less: the best is set, then saved.
void EndWith57() {
    highScore = 57;
    SaveHighScore(57);
}

// A terminal nobody types into: reading it waits for ever, and whatever is written to
// it can be read back from its other end (the test's).
int terminal = -1;

// An access list that lets one more user read the file, as the file system stores it.
const std::string kAccessList = [] {
    std::string list = {2, 0, 0, 0};  // version 2, then tag, permissions and id per entry
    for (const auto& entry : {std::array<uint32_t, 3>{0x01, 6, ~0u}, {0x02, 4, 1234}, {0x04, 4, ~0u},
                              {0x10, 4, ~0u}, {0x20, 0, ~0u}})
        for (const auto& [value, bytes] : {std::pair{entry[0], 2}, {entry[1], 2}, {entry[2], 4}})
            for (int32_t b = 0; b < bytes; b++) list += static_cast<char>(value >> (8 * b));
    return list;
}();

std::string AccessList(const std::string& path) {
    char list[256];
    const ssize_t size = getxattr(path.c_str(), "system.posix_acl_access", list, sizeof list);
    return size < 0 ? "" : std::string(list, static_cast<size_t>(size));
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
        // Where some of it is not the player's: run after the home is given to the
        // player; false where it cannot be set up (run as another user than root).
        bool (*others)(const std::string& home) = nullptr;
        void (*check)(const std::string& home) = nullptr;  // more to check after the game's end
    } cases[] = {
        {"first run", [](const std::string&) {}, ".Quillbarrow/", 0,
         ".Quillbarrow/ .Quillbarrow/score=0", ".Quillbarrow/ .Quillbarrow/score=57"},
        {"read-only score file", [](const std::string& h) { Put(h + "/.Quillbarrow/score", "40", 0444); },
         ".Quillbarrow/", 40, ".Quillbarrow/ .Quillbarrow/score(444)=40", ".Quillbarrow/ .Quillbarrow/score(444)=40"},
        {"unreadable score file", [](const std::string& h) { Put(h + "/.Quillbarrow/score", "40", 0); },
         ".Quillbarrow/", 0, ".Quillbarrow/ .Quillbarrow/score(0)=40", ".Quillbarrow/ .Quillbarrow/score(0)=40"},
        {"write-only score file", [](const std::string& h) { Put(h + "/.Quillbarrow/score", "40", 0200); },
         ".Quillbarrow/", 0, ".Quillbarrow/ .Quillbarrow/score(200)=40", ".Quillbarrow/ .Quillbarrow/score(200)=40"},
        {"someone else's score file the player's group may write",
         [](const std::string& h) { Put(h + "/.Quillbarrow/score", "40", 0664); }, ".Quillbarrow/", 40,
         ".Quillbarrow/ .Quillbarrow/score(664)=40", ".Quillbarrow/ .Quillbarrow/score(664)=40",
         [](const std::string& h) { return lchown((h + "/.Quillbarrow/score").c_str(), 0, kPlayer) == 0; },
         [](const std::string& h) {
             struct stat owner;
             EXPECT_EQ(stat((h + "/.Quillbarrow/score").c_str(), &owner), 0);
             EXPECT_EQ(std::vector<uint32_t>({owner.st_uid, owner.st_gid}), std::vector<uint32_t>({0, kPlayer}));
         }},
        {"access list on the score file", [](const std::string& h) {
             Put(h + "/.Quillbarrow/score", "40");
             setxattr((h + "/.Quillbarrow/score").c_str(), "system.posix_acl_access", kAccessList.data(),
                      kAccessList.size(), 0);
         },
         ".Quillbarrow/", 40, ".Quillbarrow/ .Quillbarrow/score(640)=40", ".Quillbarrow/ .Quillbarrow/score(640)=57", nullptr,
         [](const std::string& h) { EXPECT_TRUE(AccessList(h + "/.Quillbarrow/score") == kAccessList); }},
        {"pipe as the score file", [](const std::string& h) {
             fs::create_directories(h + "/.Quillbarrow");
             mkfifo((h + "/.Quillbarrow/score").c_str(), 0644);
         },
         ".Quillbarrow/", 0, ".Quillbarrow/ .Quillbarrow/score(pipe)", ".Quillbarrow/ .Quillbarrow/score(pipe)"},
        {"terminal as the score file", [](const std::string& h) {
             terminal = posix_openpt(O_RDWR | O_NOCTTY);
             ASSERT_TRUE(terminal >= 0 && grantpt(terminal) == 0 && unlockpt(terminal) == 0);
             chmod(ptsname(terminal), 0666);
             fs::create_directories(h + "/.Quillbarrow");
             fs::create_symlink(ptsname(terminal), h + "/.Quillbarrow/score");
         },
         ".Quillbarrow/", 0, ".Quillbarrow/ .Quillbarrow/score->/dev/pts", ".Quillbarrow/ .Quillbarrow/score->/dev/pts",
         nullptr, [](const std::string&) {
             pollfd written = {terminal, POLLIN, 0};
             EXPECT_EQ(poll(&written, 1, 0), 0) << "the score went to the terminal";
             close(terminal);
         }},
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
         ".Quillbarrow/", 40, ".Quillbarrow/(555) .Quillbarrow/score=40", ".Quillbarrow/(555) .Quillbarrow/score=40"},
        {"leftovers of saves cut short", [](const std::string& h) {
             Put(h + "/.Quillbarrow/score", "40");
             Put(h + "/.Quillbarrow/score.new", "99");
             Put(h + "/.Quillbarrow/score.new-1-0", "98");
         },
         ".Quillbarrow/", 40,
         ".Quillbarrow/ .Quillbarrow/score.new-1-0=98 .Quillbarrow/score.new=99 .Quillbarrow/score=40",
         ".Quillbarrow/ .Quillbarrow/score=57"},
        {"folder named as a new file", [](const std::string& h) {
             Put(h + "/.Quillbarrow/score", "40");
             fs::create_directories(h + "/.Quillbarrow/score.new");
         },
         ".Quillbarrow/", 40, ".Quillbarrow/ .Quillbarrow/score.new/ .Quillbarrow/score=40",
         ".Quillbarrow/ .Quillbarrow/score.new/ .Quillbarrow/score=57"},
    };
    int32_t number = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string player = home + "/player" + std::to_string(number++);
        fs::create_directory(player);
        c.setup(player);
        // Everything in the home is the player's own (it already is, run as the player).
        bool given = lchown(player.c_str(), kPlayer, kPlayer) == 0;
        for (const auto& entry : fs::recursive_directory_iterator(player))
            given = lchown(entry.path().c_str(), kPlayer, kPlayer) == 0 && given;
        EXPECT_TRUE(given || getuid() != 0);
        if (c.others != nullptr && !c.others(player)) {
            // Said and flushed now, so that no player's child inherits it unwritten.
            std::cout << c.name << ": only root can give a file to someone else; not tried" << std::endl;
            continue;
        }
        saveDir = player + "/" + c.saveDir;
        EXPECT_EQ(AsPlayer(Boot), "=" + std::to_string(c.bootScore));  // and nothing said
        EXPECT_EQ(Listing(player), c.booted);
        EXPECT_EQ(AsPlayer(EndWith57), "=57");  // the best is kept for the run
        EXPECT_EQ(Listing(player), c.ended);
        if (c.check != nullptr) c.check(player);
        // Folders the case closed are opened again, so that the test can clear them away
        // also when it runs as the player rather than as root.
        chmod(player.c_str(), 0755);
        for (const auto& entry : fs::recursive_directory_iterator(player))
            if (!entry.is_symlink() && entry.is_directory()) chmod(entry.path().c_str(), 0755);
    }
}

}  // namespace
