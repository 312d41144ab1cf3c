#include "platform/messages.h"

#include <unistd.h>

#include <cstdio>

static FILE* held;    // where stderr writes while held, null when not held
static int realStderr = -1;

void HoldLibraryMessages() {
    if (held != nullptr) return;
    held = std::tmpfile();
    if (held == nullptr) return;  // nowhere to keep them: let them through
    std::fflush(stderr);
    realStderr = dup(STDERR_FILENO);
    dup2(fileno(held), STDERR_FILENO);
}

void ReleaseLibraryMessages(bool passOn) {
    if (held == nullptr) return;
    std::fflush(stderr);
    dup2(realStderr, STDERR_FILENO);
    close(realStderr);
    if (passOn) {
        std::rewind(held);
        char chunk[4096];
        size_t got;
        while ((got = std::fread(chunk, 1, sizeof chunk, held)) > 0) std::fwrite(chunk, 1, got, stderr);
    }
    std::fclose(held);
    held = nullptr;
}
