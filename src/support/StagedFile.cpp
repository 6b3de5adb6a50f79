#include "support/StagedFile.h"

#include "support/BrimloError.h"
#include "support/FollowLinks.h"
#include "support/LocalFileName.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace brimlo {

namespace {

constexpr std::size_t kBufferSize = 1 << 20;
constexpr std::size_t kMaxNameBytes = 255; // a file name's limit on the file systems we run on

std::atomic<unsigned> stagedCounter{0};

// Unique within this process by the counter, across processes by the pid.
// A long target name is shortened so the temporary name stays a valid one
// (never cutting a UTF-8 character in two).
std::filesystem::path TempNameFor(const std::filesystem::path& target, unsigned attempt) {
    const std::string suffix = ".~" + std::to_string(::getpid()) + "-" +
                               std::to_string(stagedCounter++) + "-" + std::to_string(attempt);
    std::string name = target.filename().string();
    if (name.size() + suffix.size() > kMaxNameBytes) {
        size_t keep = kMaxNameBytes - suffix.size();
        while (keep > 0 && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80)
            --keep;
        name.resize(keep);
    }
    return target.parent_path() / (name + suffix);
}

void SyncDirectory(const std::filesystem::path& dir) {
    const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return;
    ::fsync(fd); // the rename is durable once the directory is; best effort
    ::close(fd);
}

} // namespace

StagedFile::StagedFile(std::filesystem::path target)
    : target_(std::move(target)), dest_(FollowExistingLinks(target_)) {
    for (unsigned attempt = 0; fd_ < 0; ++attempt) {
        temp_ = TempNameFor(dest_, attempt);
        fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && (errno != EEXIST || attempt > 100))
            fail("cannot be created", errno);
    }
    buffer_.reserve(kBufferSize);
}

StagedFile::~StagedFile() {
    discard();
}

void StagedFile::discard() {
    if (fd_ < 0)
        return;
    ::close(fd_);
    fd_ = -1;
    ::unlink(temp_.c_str());
}

void StagedFile::fail(const std::string& what, int error) const {
    throw BrimloError("File '" + ShownFileName(target_) + "' " + what + ": " +
                      std::strerror(error));
}

void StagedFile::write(std::string_view bytes) {
    if (buffer_.size() + bytes.size() > kBufferSize)
        flushBuffer();
    if (bytes.size() >= kBufferSize) {
        writeAll(bytes, written_);
        written_ += bytes.size();
        return;
    }
    buffer_.append(bytes);
}

void StagedFile::writeAt(uint64_t offset, std::string_view bytes) {
    flushBuffer();
    writeAll(bytes, offset);
    if (offset + bytes.size() > written_)
        written_ = offset + bytes.size();
}

void StagedFile::flushBuffer() {
    if (buffer_.empty())
        return;
    writeAll(buffer_, written_);
    // Start writing these bytes to disk now, so that the flush at commit
    // has little left to wait for.
    ::sync_file_range(fd_, static_cast<off_t>(written_), static_cast<off_t>(buffer_.size()),
                      SYNC_FILE_RANGE_WRITE);
    written_ += buffer_.size();
    buffer_.clear();
}

void StagedFile::writeAll(std::string_view bytes, uint64_t offset) {
    if (fd_ < 0)
        fail("is already closed", EBADF);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd_, bytes.data() + done, bytes.size() - done,
                                   static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            fail("cannot be written", n < 0 ? errno : EIO);
        done += static_cast<std::size_t>(n);
    }
}

void StagedFile::commit() {
    flushBuffer();
    if (::fsync(fd_) != 0)
        fail("cannot be written", errno);
    const int closed = ::close(fd_);
    fd_ = -1;
    if (closed != 0 || ::rename(temp_.c_str(), dest_.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp_.c_str());
        fail("cannot be written", error);
    }
    SyncDirectory(dest_.parent_path());
}

} // namespace brimlo
