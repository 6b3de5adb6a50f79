#include "PrivateMounts.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <stdexcept>
#include <string>
#include <sys/mount.h>
#include <unistd.h>

namespace brimlo::crash {

namespace {

std::string& Unavailable() {
    static std::string reason = "the mount namespace was not prepared";
    return reason;
}

[[noreturn]] void Fail(const std::string& what) {
    throw std::runtime_error(what + ": " + std::strerror(errno));
}

} // namespace

void EnterPrivateMountNamespace() {
    if (Unavailable().empty())
        return;
    if (::unshare(CLONE_NEWNS) != 0)
        Unavailable() =
            std::string("cannot make a private mount namespace: ") + std::strerror(errno);
    else if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        Unavailable() = std::string("cannot make the mounts private: ") + std::strerror(errno);
    else
        Unavailable().clear();
}

std::string PrivateMountsUnavailable() {
    return Unavailable();
}

void MountSmallDisk(const std::string& dir, size_t bytes) {
    const std::string options = "size=" + std::to_string(bytes);
    if (::mount("brimlo-small", dir.c_str(), "tmpfs", 0, options.c_str()) != 0)
        Fail("cannot mount a tmpfs on " + dir);
}

void MakeReadOnly(const std::string& dir) {
    if (::mount(dir.c_str(), dir.c_str(), nullptr, MS_BIND, nullptr) != 0)
        Fail("cannot bind " + dir);
    if (::mount(nullptr, dir.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) != 0)
        Fail("cannot make " + dir + " read-only");
}

void Unmount(const std::string& dir) {
    ::umount2(dir.c_str(), MNT_DETACH);
}

void FillDisk(const std::string& dir) {
    for (int n = 0;; ++n) {
        const std::string path = dir + "/filler" + std::to_string(n);
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0)
            return;
        static const std::string block(4096, 'x');
        ssize_t wrote = 0;
        while ((wrote = ::write(fd, block.data(), block.size())) > 0) {
        }
        // a last partial block
        while (::write(fd, "x", 1) == 1) {
        }
        ::close(fd);
        if (wrote < 0 && errno == ENOSPC && n > 0)
            return;
    }
}

} // namespace brimlo::crash
