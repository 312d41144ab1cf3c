// Child processes for the tests that need the operating system as it really is: a save
// killed, run as another user or under a limit, a program that may hang or crash.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <iostream>
#include <string>

// How a child process ended: what it said on stdout and stderr, its status and what it used.
struct Ended {
    std::string said;
    int status;
    rusage used;
    bool Killed() const { return WIFSIGNALED(status); }
    int Code() const { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }
};

// Starts step in a child process that exits with what step returns; what the child says
// on stdout and stderr comes through *said. What this process holds unwritten is written
// first, so that the child does not write it again.
inline pid_t Spawn(const std::function<int()>& step, int* said) {
    std::cout.flush(), std::fflush(nullptr);
    int out[2];
    if (pipe(out) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], 1), dup2(out[1], 2), close(out[0]), close(out[1]);
        const int code = step();
        std::fflush(nullptr);
        _exit(code);
    }
    close(out[1]);
    *said = out[0];
    return child;
}

// Everything said on fd until it closes (then *closed is set) or nothing comes for the
// given number of seconds (-1: however long); fd is closed after.
inline std::string Hear(int fd, int seconds, bool* closed = nullptr) {
    std::string said;
    pollfd wait = {fd, POLLIN, 0};
    char chunk[256];
    ssize_t got = 1;
    while (got > 0 && poll(&wait, 1, seconds < 0 ? -1 : seconds * 1000) == 1)
        if ((got = read(fd, chunk, sizeof chunk)) > 0) said.append(chunk, static_cast<size_t>(got));
    if (closed != nullptr) *closed = got == 0;
    close(fd);
    return said;
}

// Waits for a child that Spawn started to end, and kills it where it has said nothing on
// said for the given number of seconds (-1: never).
inline Ended Finish(pid_t child, int said, int seconds) {
    bool closed = false;
    Ended ended{Hear(said, seconds, &closed), 0, {}};
    if (!closed) kill(child, SIGKILL);
    wait4(child, &ended.status, 0, &ended.used);
    return ended;
}

// Runs step in a child process, as Spawn does, and waits for it to end.
inline Ended InChild(const std::function<int()>& step) {
    int said = -1;
    const pid_t child = Spawn(step, &said);
    return child < 0 ? Ended{"no child", -1, {}} : Finish(child, said, -1);
}
