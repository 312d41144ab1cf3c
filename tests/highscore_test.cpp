// The score file: made on a first run, read as it stands whatever it holds, and
// written so that a kill at any instant, a full disk, another game saving at the same
// moment or a home the player may not write never loses or lowers the best score.
#include <grp.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/xattr.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <random>
#include <thread>

#include "process_support.h"
#include "score_cases.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using FlowTest = GameTest;

// The player of the permission cases: nobody.
constexpr uid_t kPlayer = 65534;

// Makes path (and the folders above it) hold text with the given permissions.
void Put(const std::string& path, const std::string& text, mode_t mode = 0644) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
    chmod(path.c_str(), mode);
}

// A number from the environment (for the long runs behind the README's figures), or
// the suite's own.
int32_t Runs(const char* name, int32_t suite) {
    const char* given = std::getenv(name);
    return given != nullptr && std::atoi(given) > 0 ? std::atoi(given) : suite;
}

// An access list that lets one more user (1234) read a file, as the file system stores
// it: version 2, then each entry's tag, permissions and id: the owner, user 1234, the
// group, the mask, the others.
const char kAccessListName[] = "system.posix_acl_access";
const std::string kAccessList("\2\0\0\0" "\1\0\6\0\377\377\377\377" "\2\0\4\0\322\4\0\0" "\4\0\4\0\377\377\377\377"
                              "\20\0\4\0\377\377\377\377" "\40\0\0\0\377\377\377\377", 44);

// Everything under folder, in name order: "name/" for a folder, "name=text" for a file,
// "name->target" for a link, "name(pipe)", with permissions in brackets where they are
// not the usual 755 or 644 and "+acl" after a file's where it has an access list:
// ".Quillbarrow/ .Quillbarrow/score(444)=40". Files closed to their owner are opened for
// the reading.
std::string Listing(const std::string& folder) {
    std::vector<std::string> entries;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(folder, error); it != fs::recursive_directory_iterator();
         it.increment(error)) {
        const std::string path = it->path().string();
        const fs::file_status status = it->symlink_status();
        const auto mode = static_cast<int>(status.permissions() & fs::perms::mask);
        const bool isFolder = fs::is_directory(status);
        std::ostringstream entry;
        entry << it->path().lexically_relative(folder).string() << (isFolder ? "/" : "");
        if (fs::is_symlink(status)) {
            entry << "->" << fs::read_symlink(path).string();
        } else if (fs::is_fifo(status)) {
            entry << "(pipe)";
        } else {
            if (mode != (isFolder ? 0755 : 0644)) entry << '(' << std::oct << mode << ')';
            if (!isFolder) {
                if (getxattr(path.c_str(), kAccessListName, nullptr, 0) > 0) entry << "+acl";
                chmod(path.c_str(), static_cast<mode_t>(mode | 0400));
                entry << '=' << FileText(path);
                chmod(path.c_str(), static_cast<mode_t>(mode));
            }
        }
        entries.push_back(entry.str());
    }
    std::sort(entries.begin(), entries.end());
    std::string listing;
    for (const std::string& entry : entries) listing += (listing.empty() ? "" : " ") + entry;
    return listing;
}

// Makes in home what a listing shows, in the notation of Listing ("+acl": kAccessList);
// "(555)" alone gives the home itself those permissions, and a link to "~/..." goes to the
// home by its whole path.
void MakeHome(const std::string& home, const std::string& listing) {
    std::istringstream entries(listing);
    std::vector<std::pair<std::string, mode_t>> folders;  // their permissions come last
    for (std::string entry; entries >> entry;) {
        const size_t arrow = entry.find("->"), equals = entry.find('='), open = entry.find('(');
        const std::string path = home + "/" + entry.substr(0, std::min({arrow, equals, open, entry.find('+')}));
        const bool pipe = entry.find("(pipe)") != std::string::npos;
        const mode_t mode = open < equals && !pipe ? static_cast<mode_t>(std::stoi(entry.substr(open + 1), nullptr, 8))
                          : equals == std::string::npos ? 0755 : 0644;
        fs::create_directories(fs::path(path).parent_path());
        if (arrow != std::string::npos) {
            const std::string target = entry.substr(arrow + 2);
            fs::create_symlink(target[0] == '~' ? home + target.substr(1) : target, path);
        } else if (pipe) {
            mkfifo(path.c_str(), 0644);
        } else if (equals != std::string::npos) {
            Put(path, entry.substr(equals + 1), mode);
            if (entry.find("+acl") != std::string::npos)
                setxattr(path.c_str(), kAccessListName, kAccessList.data(), kAccessList.size(), 0);
        } else {
            fs::create_directories(path);
            folders.push_back({path, mode});
        }
    }
    for (auto folder = folders.rbegin(); folder != folders.rend(); folder++) chmod(folder->first.c_str(), folder->second);
}

TEST_F(FlowTest, EveryScoreFileReadsAsItsNumberAndIsLeftAsItIs) {
    for (const ScoreCase& c : ScoreCases()) {
        SCOPED_TRACE('"' + (c.text.size() > 40 ? c.text.substr(0, 40) + "..." : c.text) + '"');
        Put(HighScoreFile(), c.text);
        highScore = 99;
        LoadHighScore();
        EXPECT_EQ(highScore, c.score);
        EXPECT_TRUE(FileText(HighScoreFile()) == c.text);
        // A save reads the number as the boot does: one as large stays as it is written,
        // a file holding none is replaced, and so is any smaller number.
        SaveHighScore(c.score);
        EXPECT_TRUE(FileText(HighScoreFile()) == (c.number ? c.text : "0"));
        if (c.score == INT32_MAX) continue;
        SaveHighScore(c.score + 1);
        EXPECT_EQ(FileText(HighScoreFile()), std::to_string(c.score + 1));
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
}

// The ways a save can go, each from a home made once for it: the file the number lives
// in, whether an old score of 7 is there to replace (else there is no file at all), and
// whether a higher score can take its place (a name of 255 bytes leaves no room for a
// new file beside it).
struct SavePath {
    const char* name;
    std::string home, file;
    bool existing, replaceable;
};
const std::string kLongName(255, 'q');
const SavePath kSavePaths[] = {
    {"first save", ".Quillbarrow/", ".Quillbarrow/score", false, true},
    {"over a lower score", ".Quillbarrow/", ".Quillbarrow/score", true, true},
    {"through a link", ".Quillbarrow/score->~/elsewhere/best elsewhere/", "elsewhere/best", true, true},
    {"no room beside it for a new file", ".Quillbarrow/score->../" + kLongName, kLongName, true, false},
};

// Puts the path's old state back: 7 in the file (in one step, by a rename: a kill in the
// middle of it leaves the one before or this one), or no file.
void PutBack(const std::string& home, const SavePath& path) {
    if (!path.existing) {
        unlink((home + "/" + path.file).c_str());
        return;
    }
    Put(home + "/reset", "7");
    rename((home + "/reset").c_str(), (home + "/" + path.file).c_str());
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
    std::mt19937 delays(11);
    std::ostringstream report;
    report << trials << " saves killed:";
    for (const SavePath& path : kSavePaths) {
        SCOPED_TRACE(path.name);
        const std::string place = home + "/" + path.name, file = place + "/" + path.file;
        MakeHome(place, path.home);
        saveDir = place + "/.Quillbarrow/";
        const auto rounds = [&](int32_t n) {
            for (int32_t i = 0; i < n; i++) PutBack(place, path), SaveHighScore(2147483647), SaveHighScore(5);
            return 0;
        };
        // Ten rounds timed as the trials run them, in a child from its fork on (under an
        // emulator a child's first saves are much slower than the parent's); the kills
        // fall over the child's start and a round and a half.
        const auto start = std::chrono::steady_clock::now();
        InChild([&] { return rounds(10); });
        const auto tenRounds = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
        const int64_t first = 500 + tenRounds.count() * 3 / 20;  // microseconds
        int64_t spread = first;
        // On a busy machine the kills may all fall too early: the trials go on, up to four
        // times as many and the kills ever later (up to sixteen times as late), until every
        // outcome a path can have was met.
        int32_t old = 0, higher = 0, none = 0, cut = 0, trial = 0;
        const auto metAll = [&] {
            return !path.replaceable || (higher > 0 && cut > 0 && (path.existing ? old : none) > 0);
        };
        for (; trial < trials / 4 || (!metAll() && trial < trials); trial++) {
            PutBack(place, path);
            const pid_t child = fork();
            ASSERT_GE(child, 0);
            if (child == 0) _exit(rounds(INT32_MAX));
            if (trial >= trials / 4) spread = std::min(spread + spread / 10, 16 * first);
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
               << " left 7, " << higher << " 2147483647, " << none << " no file, " << cut << " a new file not yet renamed;";
        EXPECT_TRUE(metAll());
        // The next save clears what a cut one left.
        PutBack(place, path);
        SaveHighScore(57);
        EXPECT_EQ(Leftovers(place, path), 0);
        EXPECT_EQ(FileText(file), path.replaceable ? "57" : "7");
    }
    std::cout << report.str() << " nothing lost" << std::endl;
}

// Two games with the same home, one ending on 50 and the other on 20 at the same moment
// or a moment later, in either order, hundreds of times: the file always ends on 50.
// (That a read never finds it empty or part of a number, the kill trials show.)
TEST_F(FlowTest, TwoGamesEndingAtOnceLeaveTheHigherScore) {
    const int32_t races = Runs("QUILLBARROW_RACES", 100);
    SaveHighScore(0);  // the save folder
    std::mt19937 delays(5);
    int32_t lost = 0;
    for (int32_t race = 0; race < races; race++) {
        PutBack(home, kSavePaths[1]);  // 7
        int go[2];
        ASSERT_EQ(pipe(go), 0);
        pid_t games[2];
        for (int32_t g = 0; g < 2; g++) {
            const int64_t later = (race % 2 == g) ? delays() % 400 : 0;  // microseconds
            games[g] = fork();
            ASSERT_GE(games[g], 0);
            if (games[g] != 0) continue;
            close(go[1]);
            char ready;
            const ssize_t ignored = read(go[0], &ready, 1);  // both set off together
            (void)ignored;
            std::this_thread::sleep_for(std::chrono::microseconds(later));
            SaveHighScore(g == 0 ? 50 : 20);
            _exit(0);
        }
        close(go[0]), close(go[1]);
        for (const pid_t game : games) waitpid(game, nullptr, 0);
        lost += FileText(HighScoreFile()) != "50";
    }
    std::cout << races << " races of a 50 and a 20: " << lost << " ended below 50\n";
    EXPECT_EQ(lost, 0);
}

TEST_F(FlowTest, AFullDiskKeepsTheOldScore) {
    // A file size limit stops writes as a full card does: nothing at all, or a first
    // byte and then nothing.
    SaveHighScore(40);
    for (const rlim_t bytes : {0, 1, 5, 6}) {
        InChild([bytes] {
            signal(SIGXFSZ, SIG_IGN);
            const rlimit limit = {bytes, bytes};
            setrlimit(RLIMIT_FSIZE, &limit);
            SaveHighScore(123456);
            return 0;
        });
        EXPECT_EQ(Listing(home), std::string(".Quillbarrow/ .Quillbarrow/score=") + (bytes < 6 ? "40" : "123456")) << bytes;
    }
    // Small disks of their own, where the test may mount them: one filled to its last
    // block, one out of inodes (where no new file can be made at all). Along every path
    // a save can take, the old score (or no file) stays, nothing is left beside it, and
    // the save goes through once there is room again.
    const std::string disk = home + "/card";
    fs::create_directory(disk);
    for (const char* room : {"size=64k", "size=16m,nr_inodes=16"}) {
        for (const SavePath& path : kSavePaths) {
            SCOPED_TRACE(std::string(room) + ", " + path.name);
            if (mount("tmpfs", disk.c_str(), "tmpfs", 0, room) != 0) {
                std::cout << "no tmpfs could be mounted here: the full disk is a file size limit only\n";
                return;
            }
            MakeHome(disk, path.home);
            saveDir = disk + "/.Quillbarrow/";
            PutBack(disk, path);
            const std::string file = disk + "/" + path.file, block(4096, 'x');
            std::vector<std::string> fillers;
            for (bool more = true; more; fillers.push_back(disk + "/filler" + std::to_string(fillers.size()))) {
                std::ofstream filler(disk + "/filler" + std::to_string(fillers.size()), std::ios::binary);
                for (int32_t i = 0; i < 64 && filler.write(block.data(), block.size()).flush(); i++) {
                }
                more = filler.good() && fillers.size() < 100;
            }
            SaveHighScore(123456);
            const bool there = fs::exists(file);
            const std::string kept = FileText(file);
            const int32_t left = Leftovers(disk, path);
            for (const std::string& filler : fillers) fs::remove(filler);
            SaveHighScore(123456);
            const std::string freed = FileText(file);
            umount2(disk.c_str(), MNT_DETACH);
            EXPECT_EQ(Values({there, left}), Values({path.existing, 0}));
            EXPECT_EQ(kept, path.existing ? "7" : "");
            EXPECT_EQ(freed, path.replaceable ? "123456" : "7");
        }
    }
    // A card whose file system keeps no access lists at all (as FAT) takes a higher score
    // all the same.
    ASSERT_EQ(mount("ramfs", disk.c_str(), "ramfs", 0, nullptr), 0);
    saveDir = disk + "/.Quillbarrow/";
    SaveHighScore(7);
    SaveHighScore(123456);
    EXPECT_EQ(FileText(HighScoreFile()), "123456");
    umount2(disk.c_str(), MNT_DETACH);
}

// Runs step in a child process as the player (kPlayer, where the test runs as root, whose
// rights pass every permission), within three seconds (a boot or a save takes
// milliseconds): what the child printed, "=", and highScore as the step left it, or
// "killed" when it had to be ended.
std::string AsPlayer(void (*step)()) {
    const Ended ended = InChild([step] {
        umask(022);
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(kPlayer) != 0 || setuid(kPlayer) != 0)) {
            std::printf("cannot become a player");
            return 1;
        }
        alarm(3);
        step();
        std::printf("=%d", highScore);
        return 0;
    });
    return ended.said + (ended.Killed() ? "killed" : "");
}

// A boot over a best of 31 from an earlier game; the end of a game with 57 gold over a
// best of less: the best is set, then saved.
void Boot() {
    highScore = 31;
    LoadHighScore();
}
void EndWith57() {
    highScore = 57;
    SaveHighScore(57);
}

// A home as a player meets it, as Listing shows it, booted and played to a best of 57 by
// the player: the boot's score, and the home after the boot and after the game's end
// (null: as it was).
TEST_F(FlowTest, AHomeThePlayerCannotWriteKeepsTheOldScoreAndThePlayGoesOn) {
    if (AsPlayer(Boot) == "cannot become a player") GTEST_SKIP() << "cannot drop root's rights here";
    chmod(home.c_str(), 0711);  // the player may pass through the test's own folder
    const std::string score = ".Quillbarrow/ .Quillbarrow/score";
    struct Case {
        const char* name;
        std::string before;
        int32_t bootScore;
        const char* booted = nullptr;
        const char* ended = nullptr;
        const char* saveDir = ".Quillbarrow/";  // under the home
        bool rootsFile = false;  // the score file root's, in the player's group: only root can make it so
    } cases[] = {
        {"first run", "", 0, ".Quillbarrow/ .Quillbarrow/score=0", ".Quillbarrow/ .Quillbarrow/score=57"},
        {"no home at all", "", 0, nullptr, nullptr, "gone/.Quillbarrow/"},
        {"read-only score file", score + "(444)=40", 40}, {"unreadable score file", score + "(0)=40", 0},
        {"write-only score file", score + "(200)=40", 0},
        {"someone else's score file the player's group may write", score + "(664)=40", 40, nullptr, nullptr,
         ".Quillbarrow/", true},
        {"access list on the score file", score + "(640)+acl=40", 40, nullptr, ".Quillbarrow/ .Quillbarrow/score(640)+acl=57"},
        {"pipe as the score file", score + "(pipe)", 0},
        {"links to a file kept elsewhere", ".Quillbarrow/ .Quillbarrow/score->../link link->sync/best sync/ sync/best(640)=40",
         40, nullptr, ".Quillbarrow/ .Quillbarrow/score->../link link->sync/best sync/ sync/best(640)=57"},
        {"dangling link", score + "->../best", 0, ".Quillbarrow/ .Quillbarrow/score->../best best=0",
         ".Quillbarrow/ .Quillbarrow/score->../best best=57"},
        {"link loop", ".Quillbarrow/ .Quillbarrow/loop->score .Quillbarrow/score->loop", 0},
        {"score file is a folder", score + "/", 0}, {"save folder is a file", ".Quillbarrow=notes", 0},
        {"home is a file", "notes=ahoy", 0, nullptr, nullptr, "notes/.Quillbarrow/"},
        {"read-only home", "(555)", 0, "", ""},
        {"read-only save folder", ".Quillbarrow/(555) .Quillbarrow/score=40", 40},
        {"leftovers of saves cut short", score + ".new-1-0=98 .Quillbarrow/score.new=99 .Quillbarrow/score=40", 40, nullptr,
         ".Quillbarrow/ .Quillbarrow/score=57"},
        {"folder named as a new file", score + ".new/ .Quillbarrow/score=40", 40, nullptr,
         ".Quillbarrow/ .Quillbarrow/score.new/ .Quillbarrow/score=57"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string player = home + "/" + c.name;
        fs::create_directory(player);
        MakeHome(player, c.before);
        // Everything in the home is the player's own (it already is, run as the player).
        bool given = lchown(player.c_str(), kPlayer, kPlayer) == 0;
        for (const auto& entry : fs::recursive_directory_iterator(player))
            given = lchown(entry.path().c_str(), kPlayer, kPlayer) == 0 && given;
        EXPECT_TRUE(given || getuid() != 0);
        // Only root can give a file to someone else, and not every file system keeps access lists.
        const bool listed =
            c.before.find("+acl") == std::string::npos || Listing(player).find("+acl") != std::string::npos;
        if (!listed || (c.rootsFile && lchown((player + "/.Quillbarrow/score").c_str(), 0, kPlayer) != 0)) {
            std::cout << c.name << ": cannot be made here; not tried" << std::endl;
            continue;
        }
        const std::string booted = c.booted != nullptr ? c.booted : c.before;
        saveDir = player + "/" + c.saveDir;
        EXPECT_EQ(AsPlayer(Boot), "=" + std::to_string(c.bootScore));  // and nothing said
        EXPECT_EQ(Listing(player), booted);
        EXPECT_EQ(AsPlayer(EndWith57), "=57");  // the best is kept for the run
        EXPECT_EQ(Listing(player), c.ended != nullptr ? c.ended : booted);
        // Folders the case closed are opened again, so that the test can clear them away
        // also when it runs as the player rather than as root.
        chmod(player.c_str(), 0755);
        for (const auto& entry : fs::recursive_directory_iterator(player))
            if (!entry.is_symlink() && entry.is_directory()) chmod(entry.path().c_str(), 0755);
    }
}

// A save waits its turn while another game holds the save folder's lock, and goes ahead
// without it after two seconds (a game stopped mid-save never lets go).
TEST_F(FlowTest, ASaveWaitsForTheLockAndNotForEver) {
    SaveHighScore(50);
    const int held = open(saveDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    const pid_t waiting = fork();
    ASSERT_GE(waiting, 0);
    if (waiting == 0) {
        SaveHighScore(70);
        _exit(0);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(FileText(HighScoreFile()), "50");
    const auto start = std::chrono::steady_clock::now();
    waitpid(waiting, nullptr, 0);
    EXPECT_GT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
    EXPECT_EQ(FileText(HighScoreFile()), "70");
    close(held);
}

}  // namespace
