#include "platform/files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

void MakeDirectory(const char* path) {
    mkdir(path, 0777);
}

bool ReadNumberFile(const char* path, int32_t* value) {
    FILE* file = std::fopen(path, "r");
    if (file == nullptr) return false;
    int number = *value;
    if (std::fscanf(file, "%d", &number) == 1) *value = number;
    std::fclose(file);
    return true;
}

bool WriteNumberFile(const char* path, int32_t value) {
    const std::string fresh = std::string(path) + ".new";
    FILE* file = std::fopen(fresh.c_str(), "w");
    if (file != nullptr) {
        std::fprintf(file, "%d", static_cast<int>(value));
        const bool written = std::fflush(file) == 0 && fsync(fileno(file)) == 0;
        std::fclose(file);
        if (written && std::rename(fresh.c_str(), path) == 0) return true;
        std::remove(fresh.c_str());
    }
    file = std::fopen(path, "w");
    if (file == nullptr) return false;
    std::fprintf(file, "%d", static_cast<int>(value));
    std::fclose(file);
    return true;
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
