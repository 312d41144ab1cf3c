#include "platform/wavfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

uint32_t Little32(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}
uint32_t Little16(const uint8_t* p) { return p[0] | p[1] << 8; }

bool Named(const uint8_t* p, const char* name) { return std::memcmp(p, name, 4) == 0; }

}  // namespace

bool IsPlayableWav(const uint8_t* bytes, size_t size) {
    if (size < 12 || !Named(bytes, "RIFF") || !Named(bytes + 8, "WAVE")) return false;
    // Sizes are added in 64 bits: a 32-bit size near 4 GB must not wrap round to a
    // small one.
    const uint64_t end = uint64_t{Little32(bytes + 4)} + 8;
    if (end < 12 || end > size) return false;
    uint32_t blockSize = 0;  // bytes per sample frame, once the "fmt " chunk is read
    for (uint64_t at = 12; at + 8 <= end;) {
        const uint8_t* chunk = bytes + at;
        const uint32_t length = Little32(chunk + 4);
        // SDL_mixer's music loader steps from chunk to chunk by their lengths alone,
        // without the pad byte after an odd one, so an odd length would lose it.
        if (at + 8 + length > end || length % 2 != 0) return false;
        const uint8_t* body = chunk + 8;
        if (Named(chunk, "fmt ")) {
            if (blockSize != 0 || length < 16) return false;
            const uint32_t format = Little16(body), channels = Little16(body + 2), rate = Little32(body + 4);
            const uint32_t byteRate = Little32(body + 8), block = Little16(body + 12), bits = Little16(body + 14);
            if (format != 1 || (channels != 1 && channels != 2) || (bits != 8 && bits != 16)) return false;
            if (rate < 8000 || rate > 96000 || block != channels * bits / 8 || byteRate != rate * block) return false;
            blockSize = block;
        } else if (Named(chunk, "data")) {
            return blockSize != 0 && length >= blockSize && length % blockSize == 0;
        } else if (blockSize == 0 && !Named(chunk, "fact") && !Named(chunk, "LIST")) {
            return false;  // the music loader takes nothing else before "fmt "
        }
        at += 8 + length;
    }
    return false;  // no "data" chunk
}

bool ReadWavFile(const char* path, std::vector<uint8_t>* bytes) {
    bytes->clear();
    // Looked at before it is opened, so that a pipe or a device is never opened at all;
    // opened without waiting and looked at again, in case it was swapped meanwhile.
    struct stat seen;
    if (stat(path, &seen) != 0 || !S_ISREG(seen.st_mode)) return false;
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return false;
    bool read = fstat(fd, &seen) == 0 && S_ISREG(seen.st_mode) && seen.st_size <= static_cast<off_t>(kMaxWavBytes);
    if (read) {
        // As many bytes as it held when it was opened, at most: what grows meanwhile is
        // not read.
        bytes->resize(static_cast<size_t>(seen.st_size));
        size_t got = 0;
        while (got < bytes->size()) {
            const ssize_t now = ::read(fd, bytes->data() + got, bytes->size() - got);
            if (now < 0 && errno == EINTR) continue;
            if (now <= 0) break;
            got += static_cast<size_t>(now);
        }
        bytes->resize(got);
    }
    close(fd);
    if (!read || !IsPlayableWav(bytes->data(), bytes->size())) {
        bytes->clear();
        bytes->shrink_to_fit();
        return false;
    }
    return true;
}
