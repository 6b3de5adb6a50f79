#include "support/DataFolderLock.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>

namespace brimlo {

namespace {

std::string HostName() {
    std::array<char, 256> name{};
    if (::gethostname(name.data(), name.size() - 1) != 0)
        return "unknown";
    return name.data();
}

std::string ReadHolder(int fd) {
    std::array<char, 512> text{};
    const ssize_t n = ::pread(fd, text.data(), text.size() - 1, 0);
    std::string holder(text.data(), n > 0 ? static_cast<size_t>(n) : 0);
    while (!holder.empty() && (holder.back() == '\n' || holder.back() == '\0'))
        holder.pop_back();
    return holder.empty() ? "host and process unknown" : holder;
}

} // namespace

DataFolderLock::DataFolderLock(const std::string& folder) {
    const std::string path = (std::filesystem::path(folder) / kFileName).string();
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0)
        return;
    int result;
    while ((result = ::flock(fd_, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
    }
    if (result != 0) {
        taken_ = errno == EWOULDBLOCK;
        if (taken_) {
            // the holder writes its name right after it took the lock
            for (int i = 0; i < 20 && (holder_ = ReadHolder(fd_)).rfind("host ", 0) != 0; ++i)
                ::usleep(10000);
        }
        ::close(fd_);
        fd_ = -1;
        return;
    }
    const std::string me = "host " + HostName() + ", process " + std::to_string(::getpid()) + "\n";
    if (::ftruncate(fd_, 0) == 0 && ::pwrite(fd_, me.data(), me.size(), 0) < 0) {
        // the name is only for the message of a later copy
    }
}

DataFolderLock::~DataFolderLock() {
    if (fd_ >= 0)
        ::close(fd_);
}

} // namespace brimlo
