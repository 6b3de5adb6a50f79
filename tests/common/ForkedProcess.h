#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace brimlo::testing {

// A forked process that runs work, given the write end of a pipe, and
// ends; the parent reads what it wrote from fd.
struct Forked {
    pid_t pid;
    int fd;
};

inline Forked Fork(const std::function<void(int fd)>& work) {
    int fds[2];
    if (::pipe(fds) != 0)
        throw std::runtime_error("no pipe");
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        work(fds[1]);
        ::_exit(0);
    }
    ::close(fds[1]);
    return {pid, fds[0]};
}

// Reads what the process writes until it closes its end, then reaps it.
inline std::string ReadToEnd(const Forked& process, int* status = nullptr) {
    std::string said;
    char buf[65536];
    for (ssize_t n; (n = ::read(process.fd, buf, sizeof buf)) > 0;)
        said.append(buf, static_cast<size_t>(n));
    ::close(process.fd);
    ::waitpid(process.pid, status, 0);
    return said;
}

} // namespace brimlo::testing
