// The browser keeps the score in its local storage, one entry a file path, so that it
// survives a reload. There are no folders to make and nothing to sync.
#include <emscripten.h>

#include <cstdio>

#include "platform/files.h"

// The stored text of key into out (at most size bytes with the end): its length, or -1
// when there is none or the storage cannot be read.
EM_JS(int, ReadStored, (const char* key, char* out, int size), {
    try {
        const text = window.localStorage.getItem(UTF8ToString(key));
        if (text === null) return -1;
        stringToUTF8(text, out, size);
        return lengthBytesUTF8(text);
    } catch (e) {
        return -1;
    }
});

EM_JS(int, WriteStored, (const char* key, const char* text), {
    try {
        window.localStorage.setItem(UTF8ToString(key), UTF8ToString(text));
        return 1;
    } catch (e) {
        return 0;
    }
});

void MakeDirectory(const char*) {}

bool ReadNumberFile(const char* path, int32_t* value) {
    char text[32];
    if (ReadStored(path, text, sizeof text) < 0) return false;
    int number;
    if (std::sscanf(text, "%d", &number) == 1) *value = number;
    return true;
}

bool WriteNumberFile(const char* path, int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    return WriteStored(path, text) != 0;
}

void SyncFiles() {}
