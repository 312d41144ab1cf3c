// Child processes for the tests that need the operating system as it really is: a save
// killed, run as another user or under a limit, a boot that may hang or crash.
#pragma once
#include <sys/resource.h>
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

// Runs step in a child process that exits with what step returns, and waits for it. What
// this process holds unwritten is written first, so that the child does not write it again.
inline Ended InChild(const std::function<int()>& step) {
    std::cout.flush(), std::fflush(nullptr);
    int out[2];
    if (pipe(out) != 0) return {"no pipe", -1, {}};
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], 1), dup2(out[1], 2), close(out[0]);
        const int code = step();
        std::fflush(nullptr);
        _exit(code);
    }
    close(out[1]);
    Ended ended{"", 0, {}};
    char chunk[256];
    for (ssize_t got; (got = read(out[0], chunk, sizeof chunk)) > 0;) ended.said.append(chunk, static_cast<size_t>(got));
    close(out[0]);
    wait4(child, &ended.status, 0, &ended.used);
    return ended;
}
