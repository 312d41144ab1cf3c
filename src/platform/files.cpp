#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>

void MakeDirectory(const char* path) {
    mkdir(path, 0777);
}

bool ReadNumberFile(const char* path, int32_t* value) {
    FILE* file = std::fopen(path, "r");
    if (file == nullptr) return errno != ENOENT && errno != ENOTDIR;
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

void WriteInPlace(const std::string& path, const std::string& text) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK, 0666);
    if (fd < 0) return;
    if (WriteAll(fd, text)) fsync(fd);
    close(fd);
}

}  // namespace

void WriteNumberFile(const char* path, int32_t value) {
    const std::string text = std::to_string(value);
    const std::string target = FollowLinks(path);

    // A file that cannot be opened for writing is not ours to replace. Opening does not
    // wait for a pipe's reader, and changes nothing in the file.
    struct stat old;
    const int probe = open(target.c_str(), O_WRONLY | O_NONBLOCK);
    if (probe < 0 && errno != ENOENT) return;
    const bool replacing = probe >= 0 && fstat(probe, &old) == 0;
    if (probe >= 0) close(probe);
    if (replacing && !S_ISREG(old.st_mode)) return WriteInPlace(target, text);

    // A new file beside the old, written and on the storage before it takes the old
    // one's name. A leftover of a save cut short goes first.
    const std::string fresh = target + ".new";
    unlink(fresh.c_str());
    const int fd = open(fresh.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (fd < 0) return WriteInPlace(target, text);  // the folder takes no new file
    if (replacing) {
        // The old file's owner (only root may give a file away; a player's own file
        // stays theirs either way), then its permissions.
        const int ignored = fchown(fd, old.st_uid, old.st_gid);
        (void)ignored;
        fchmod(fd, old.st_mode & 07777);
    }
    bool written = WriteAll(fd, text) && fsync(fd) == 0;
    written = close(fd) == 0 && written;
    if (!written || std::rename(fresh.c_str(), target.c_str()) != 0) unlink(fresh.c_str());
}

void SyncFiles() {
    sync();
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
