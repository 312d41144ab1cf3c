#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>

void MakeDirectory(const char* path) {
    if (mkdir(path, 0777) != 0) return;
    // The new folder is an entry of its parent: a save into it is only safe from a power
    // cut once that entry is on the storage too.
    std::string parent = path;
    while (parent.size() > 1 && parent.back() == '/') parent.pop_back();
    const size_t slash = parent.rfind('/');
    parent = slash == std::string::npos ? "." : parent.substr(0, std::max<size_t>(slash, 1));
    const int folder = open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return;
    fsync(folder);
    close(folder);
}

bool ReadNumberFile(const char* path, int32_t* value) {
    // Looked at before it is opened, so that a pipe or a device is never opened at all
    // (opening some devices does something); opened without waiting, and looked at
    // again, in case it was swapped meanwhile.
    struct stat seen;
    if (stat(path, &seen) != 0) return errno != ENOENT && errno != ENOTDIR;
    if (!S_ISREG(seen.st_mode)) return true;
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return errno != ENOENT && errno != ENOTDIR;
    FILE* file = fstat(fd, &seen) == 0 && S_ISREG(seen.st_mode) ? fdopen(fd, "r") : nullptr;
    if (file == nullptr) {
        close(fd);
        return true;
    }
    ReadNumber(file, value);
    std::fclose(file);
    return true;
}

bool ReadNumber(FILE* file, int32_t* value) {
    int c = std::getc(file);
    while (c == ' ' || (c >= '\t' && c <= '\r')) c = std::getc(file);
    const bool negative = c == '-';
    if (c == '-' || c == '+') c = std::getc(file);
    if (c < '0' || c > '9') return false;
    // The magnitude stops growing at the first value past the 32-bit range.
    const int64_t limit = negative ? -int64_t{INT32_MIN} : INT32_MAX;
    int64_t magnitude = 0;
    for (; c >= '0' && c <= '9'; c = std::getc(file)) magnitude = std::min(limit, magnitude * 10 + (c - '0'));
    *value = static_cast<int32_t>(negative ? -magnitude : magnitude);
    return true;
}

namespace {

// Where a chain of links starting at path ends: the file that writing path writes.
std::string FollowLinks(std::string path) {
    for (int32_t hops = 0; hops < 40; hops++) {  // a loop is given up as the system does
        char target[4096];
        const ssize_t length = readlink(path.c_str(), target, sizeof target);
        if (length <= 0 || length == static_cast<ssize_t>(sizeof target)) break;
        std::string next(target, static_cast<size_t>(length));
        if (next[0] != '/') next = path.substr(0, path.rfind('/') + 1) + next;  // from the link's folder
        path = next;
    }
    return path;
}

// Writes all of text, however few bytes each write takes; false on the first failure.
bool WriteAll(int fd, const std::string& text) {
    for (size_t done = 0; done < text.size();) {
        const ssize_t wrote = write(fd, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return false;
        done += static_cast<size_t>(wrote);
    }
    return true;
}

// The lock that saves into one folder take turns by. It is the folder itself: the score
// file is a different file after every save (the rename puts a new one in its place),
// so a game waiting on the old file's lock would get it on a file no longer there, while
// the folder is the same one for every game, across every rename, and a lock file of
// its own would stay in the player's folder for ever. A save holds it a few
// milliseconds; one that has waited two seconds (a game stopped mid-save), or where the
// file system takes no lock on a folder (NFS), goes ahead without it.
bool LockFolder(int folder) {
    for (int32_t waited = 0; waited < 2000; waited++) {
        if (flock(folder, LOCK_EX | LOCK_NB) == 0) return true;
        if (errno != EWOULDBLOCK && errno != EINTR) return false;
        usleep(1000);
    }
    return false;
}

// The names the saves give their new files: the score's name, ".new-", this process and
// its count of saves. (".new" alone is what earlier versions of the game left.)
std::string NewFileName(const std::string& name, int32_t save) {
    return name + ".new-" + std::to_string(getpid()) + "-" + std::to_string(save);
}

// Removes the new files that saves cut short left beside the score, whoever's game made
// them. Only under the lock: a game that is saving holds it from making its new file to
// renaming it.
void ClearLeftovers(int folder, const std::string& name) {
    const int listed = dup(folder);
    DIR* listing = listed >= 0 ? fdopendir(listed) : nullptr;
    if (listing == nullptr) {
        if (listed >= 0) close(listed);
        return;
    }
    const std::string ours = name + ".new";
    while (const dirent* entry = readdir(listing)) {
        const std::string found = entry->d_name;
        if (found != ours && found.compare(0, ours.size() + 1, ours + "-") != 0) continue;
        struct stat left;
        if (fstatat(folder, found.c_str(), &left, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(left.st_mode))
            unlinkat(folder, found.c_str(), 0);
    }
    closedir(listing);
}

// The access list of a file, as the file system stores it.
constexpr char kAccessList[] = "system.posix_acl_access";

// What the new file must carry to take the old one's place unchanged.
struct Attributes {
    uid_t owner;
    gid_t group;
    mode_t mode;
    bool listed;        // whether it has an access list
    std::string list;   // and that list
};

// Gives the new file fd the old one's owner, group, permissions and access list; false
// where it cannot: another user's file (only root may give a file away, so a player's
// save never takes over someone else's file), a group the player is not in, a list
// this file system cannot store. (On a card whose files all show one owner, the new file
// shows the same one.)
bool Carry(int fd, const Attributes& old) {
    struct stat fresh;
    if (fstat(fd, &fresh) != 0) return false;
    if ((fresh.st_uid != old.owner || fresh.st_gid != old.group) && fchown(fd, old.owner, old.group) != 0)
        return false;
    if (fchmod(fd, old.mode) != 0) return false;
    // The list last, as writing it sets the group permissions from its mask; a list the
    // new file took from the folder's defaults goes, as the old file had none.
    if (old.listed) return fsetxattr(fd, kAccessList, old.list.data(), old.list.size(), 0) == 0;
    return fremovexattr(fd, kAccessList) == 0 || errno == ENODATA || errno == ENOTSUP;
}

// The save itself, in folder, with the lock held (locked) or not.
void ReplaceNumber(int folder, const std::string& name, int32_t value, bool locked) {
    // The old file, if any, is read again now: a number as large stays, and so does a
    // file that is not a plain one, readable and writable.
    Attributes old = {0, 0, 0, false, ""};
    struct stat seen;
    const bool replacing = fstatat(folder, name.c_str(), &seen, AT_SYMLINK_NOFOLLOW) == 0;
    if (!replacing && errno != ENOENT) return;
    if (replacing) {
        if (!S_ISREG(seen.st_mode)) return;
        if (faccessat(folder, name.c_str(), W_OK, AT_EACCESS) != 0) return;
        const int fd = openat(folder, name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) return;
        FILE* file = fstat(fd, &seen) == 0 && S_ISREG(seen.st_mode) ? fdopen(fd, "r") : nullptr;
        if (file == nullptr) {
            close(fd);
            return;
        }
        char list[4096];
        const ssize_t listSize = fgetxattr(fd, kAccessList, list, sizeof list);
        const bool listRead = listSize >= 0 || errno == ENODATA || errno == ENOTSUP;
        int32_t stored = 0;
        const bool number = ReadNumber(file, &stored);
        const bool read = !std::ferror(file);
        std::fclose(file);
        if (!read || !listRead) return;
        if (locked) ClearLeftovers(folder, name);
        if (number && stored >= value) return;
        old = {seen.st_uid, seen.st_gid, static_cast<mode_t>(seen.st_mode & 07777), listSize >= 0,
               std::string(list, static_cast<size_t>(std::max<ssize_t>(listSize, 0)))};
    } else if (locked) {
        ClearLeftovers(folder, name);
    }

    // The new file: a name no other save uses (a leftover of another run under the same
    // number is passed over), made fresh with the old file's permissions from the start.
    static int32_t saves;
    std::string fresh;
    int fd = -1;
    for (int32_t tries = 0; fd < 0 && tries < 100; tries++) {
        fresh = NewFileName(name, saves++);
        fd = openat(folder, fresh.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                    replacing ? old.mode & 0777 : 0666);
        if (fd < 0 && errno != EEXIST) return;  // the folder takes no new file: the old one stays
    }
    if (fd < 0) return;
    const std::string text = std::to_string(value);
    bool written = (!replacing || Carry(fd, old)) && WriteAll(fd, text) && fsync(fd) == 0;
    written = close(fd) == 0 && written;
    if (written && renameat(folder, fresh.c_str(), folder, name.c_str()) == 0) {
        fsync(folder);  // the new name on the storage too
        return;
    }
    unlinkat(folder, fresh.c_str(), 0);
}

}  // namespace

void WriteNumberFile(const char* path, int32_t value) {
    const std::string target = FollowLinks(path);
    const size_t slash = target.rfind('/');
    const std::string folderPath = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const std::string name = target.substr(slash == std::string::npos ? 0 : slash + 1);
    if (name.empty()) return;
    const int folder = open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return;
    ReplaceNumber(folder, name, value, LockFolder(folder));
    close(folder);  // and with it the lock
}

std::string MakeTemporaryDirectory() {
    char pattern[] = "/tmp/quillbarrow-XXXXXX";
    return mkdtemp(pattern) != nullptr ? pattern : "";
}

void RemoveDirectoryTree(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

bool ReadTextFile(const char* path, std::string* text) {
    FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return false;
    text->clear();
    char chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) text->append(chunk, got);
    std::fclose(file);
    return true;
}
