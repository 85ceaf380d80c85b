// Runs a piece of a test in a forked process: for what only another process, a kill or a process-wide
// limit can show.
#pragma once

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>

namespace sctest {

struct ChildResult {
    bool exited = false;
    int status = -1; // the exit code when exited, else the signal
};

// Forks, runs `body` in the child and ends the child with its result, without running the parent's
// exit handlers. The parent must have no engine object open unless the test means the child to
// inherit it.
inline pid_t startChild(const std::function<int()>& body) {
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        int code = 99;
        try {
            code = body();
        } catch (...) {
        }
        ::_exit(code);
    }
    return pid;
}

inline ChildResult waitChild(pid_t pid) {
    int raw = 0;
    ChildResult result;
    if (::waitpid(pid, &raw, 0) != pid)
        return result;
    result.exited = WIFEXITED(raw);
    result.status = result.exited ? WEXITSTATUS(raw) : WTERMSIG(raw);
    return result;
}

inline ChildResult runChild(const std::function<int()>& body) {
    return waitChild(startChild(body));
}

// Limits the size of every file the calling process writes, as a full disk would: a write past it
// fails instead of raising a signal.
inline void limitFileSize(rlim_t bytes) {
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{bytes, bytes};
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

} // namespace sctest
