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

// Runs `body` in a forked process and gives back the text it returned; `exited` with status 0 when the
// child handed its whole text over.
struct ChildReport {
    ChildResult result;
    std::string text;
};
inline ChildReport runChildForText(const std::function<std::string()>& body) {
    ChildReport report;
    int fds[2];
    if (::pipe(fds) != 0)
        return report;
    report.result = runChild([&] {
        ::close(fds[0]);
        const std::string text = body();
        return ::write(fds[1], text.data(), text.size()) == static_cast<ssize_t>(text.size()) ? 0 : 1;
    });
    ::close(fds[1]);
    char chunk[4096];
    for (ssize_t n; (n = ::read(fds[0], chunk, sizeof chunk)) > 0;)
        report.text.append(chunk, static_cast<std::size_t>(n));
    ::close(fds[0]);
    return report;
}

// Limits the size of every file the calling process writes, as a full disk would: a write past it
// fails instead of raising a signal.
inline void limitFileSize(rlim_t bytes) {
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{bytes, bytes};
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

} // namespace sctest
