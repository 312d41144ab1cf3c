// The browser keeps the score in its local storage, one entry a file path, so that it
// survives a reload. There are no folders to make and nothing to sync.
#include <emscripten.h>

#include <cstdio>
#include <cstdlib>

#include "platform/files.h"

// The stored text of key into out (at most size bytes with the end): 1 when there is
// one, 0 when there is none, -1 when the storage cannot be read (a browser that blocks
// it for this page).
EM_JS(int, ReadStored, (const char* key, char* out, int size), {
    try {
        const text = window.localStorage.getItem(UTF8ToString(key));
        if (text === null) return 0;
        stringToUTF8(text, out, size);
        return 1;
    } catch (e) {
        return -1;
    }
});

EM_JS(void, WriteStored, (const char* key, const char* text), {
    try {
        window.localStorage.setItem(UTF8ToString(key), UTF8ToString(text));
    } catch (e) {
    }
});

void MakeDirectory(const char*) {}

// As on the desktop, only a missing entry is no score yet; the number is read as the C
// library reads one (strtol clamps to 32 bits here, where long is 32 bits).
bool ReadNumberFile(const char* path, int32_t* value) {
    char text[64];
    const int stored = ReadStored(path, text, sizeof text);
    if (stored <= 0) return stored < 0;
    char* end;
    const long number = std::strtol(text, &end, 10);
    if (end != text) *value = static_cast<int32_t>(number);
    return true;
}

// As on the desktop, a save never lowers the stored number: two tabs ending games at
// once leave the higher score.
void WriteNumberFile(const char* path, int32_t value) {
    int32_t stored = 0;
    if (ReadNumberFile(path, &stored) && stored >= value) return;
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    WriteStored(path, text);
}
