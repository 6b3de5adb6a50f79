#include "support/JournaledFile.h"

#include "support/BrimloError.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brimlo {

namespace {

std::atomic<bool> gFlush{true};
void (*gPageWriteHook)() = nullptr;

constexpr char kMagic[8] = {'B', 'R', 'J', 'R', 'N', 'L', '1', 0};
constexpr size_t kFixedPart = 8 + 8 + 4 + 4;
constexpr size_t kEntryHead = 8 + 4;

struct JournalEntry {
    uint64_t offset;
    std::vector<unsigned char> bytes;
};

struct Journal {
    uint64_t originalSize = 0;
    std::vector<JournalEntry> entries;
};

uint64_t Fnv1a(const unsigned char* p, size_t n) {
    uint64_t h = 14695981039346656037ull;
    for (size_t i = 0; i < n; ++i) {
        h ^= p[i];
        h *= 1099511628211ull;
    }
    return h;
}

void Put(std::vector<unsigned char>& out, uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<unsigned char>((v >> (8 * i)) & 0xFF));
}

uint64_t Get(const unsigned char* p, int bytes) {
    uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

// False when the journal is incomplete or damaged: it was being written when
// the program stopped, so the table file was not touched yet.
bool ParseJournal(const std::vector<unsigned char>& b, Journal& j) {
    if (b.size() < kFixedPart + 8 || std::memcmp(b.data(), kMagic, sizeof kMagic) != 0)
        return false;
    const size_t body = b.size() - 8;
    if (Fnv1a(b.data(), body) != Get(b.data() + body, 8))
        return false;
    j.originalSize = Get(b.data() + 8, 8);
    const uint64_t count = Get(b.data() + 16, 4);
    size_t pos = kFixedPart;
    for (uint64_t i = 0; i < count; ++i) {
        if (body - pos < kEntryHead)
            return false;
        const uint64_t offset = Get(b.data() + pos, 8);
        const uint64_t length = Get(b.data() + pos + 8, 4);
        pos += kEntryHead;
        if (body - pos < length)
            return false;
        j.entries.push_back(
            {offset,
             {b.begin() + static_cast<long>(pos), b.begin() + static_cast<long>(pos + length)}});
        pos += length;
    }
    return pos == body;
}

bool ReadWholeFile(const std::string& path, std::vector<unsigned char>& out) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    unsigned char buf[65536];
    ssize_t n;
    while ((n = ::read(fd, buf, sizeof buf)) > 0)
        out.insert(out.end(), buf, buf + n);
    ::close(fd);
    return n == 0;
}

bool WriteAllAt(int fd, const unsigned char* p, size_t n, uint64_t offset) {
    while (n > 0) {
        const ssize_t w = ::pwrite(fd, p, n, static_cast<off_t>(offset));
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0)
            return false;
        p += w;
        n -= static_cast<size_t>(w);
        offset += static_cast<uint64_t>(w);
    }
    return true;
}

bool Flush(int fd) {
    return !gFlush || ::fdatasync(fd) == 0;
}

void FlushDirectoryOf(const std::string& path) {
    if (!gFlush)
        return;
    const std::string dir = std::filesystem::path(path).parent_path().string();
    const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

[[noreturn]] void Fail(const std::string& path, const std::string& what, int error) {
    throw BrimloError("Table '" + path + "' " + what + ": " + std::strerror(error));
}

void ApplyJournal(const std::string& path, const Journal& j) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return; // the table is gone; nothing to restore
        Fail(path, "cannot be restored after an interrupted change", errno);
    }
    bool ok = true;
    for (const JournalEntry& e : j.entries)
        ok = ok && WriteAllAt(fd, e.bytes.data(), e.bytes.size(), e.offset);
    ok = ok && ::ftruncate(fd, static_cast<off_t>(j.originalSize)) == 0 && Flush(fd);
    const int error = errno;
    ::close(fd);
    if (!ok)
        Fail(path, "cannot be restored after an interrupted change", error);
}

} // namespace

void JournaledFile::setFlushing(bool flush) {
    gFlush = flush;
}

void JournaledFile::setPageWriteHookForTests(void (*hook)()) {
    gPageWriteHook = hook;
}

void JournaledFile::recover(const std::string& path) {
    const std::string journal = journalPath(path);
    std::vector<unsigned char> bytes;
    if (!ReadWholeFile(journal, bytes)) {
        if (errno == ENOENT)
            return;
        Fail(path, "cannot read its journal " + journal, errno);
    }
    // a file of that name that is no journal of ours, even an unfinished one,
    // is left alone rather than lost
    const size_t prefix = std::min(bytes.size(), sizeof kMagic);
    if (prefix > 0 && std::memcmp(bytes.data(), kMagic, prefix) != 0)
        throw BrimloError("Table '" + path + "' cannot be opened: the file " + journal +
                          " is in the way of its journal");
    Journal j;
    if (ParseJournal(bytes, j))
        ApplyJournal(path, j);
    if (::unlink(journal.c_str()) != 0 && errno != ENOENT)
        Fail(path, "cannot remove its journal " + journal, errno);
    FlushDirectoryOf(path);
}

JournaledFile::JournaledFile(std::string path) : path_(std::move(path)) {
    recover(path_);
    openFiles();
}

JournaledFile::~JournaledFile() {
    closeFiles();
}

void JournaledFile::openFiles() {
    fd_ = ::open(path_.c_str(), O_RDWR | O_CLOEXEC);
    readOnlyError_ = 0;
    if (fd_ < 0 && (errno == EACCES || errno == EPERM || errno == EROFS)) {
        readOnlyError_ = errno; // readable still; changes fail before a journal is made
        fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    }
    if (fd_ < 0)
        Fail(path_, "cannot be opened", errno);
    struct stat st {};
    if (::fstat(fd_, &st) != 0) {
        const int error = errno;
        closeFiles();
        Fail(path_, "cannot be opened", error);
    }
    diskSize_ = size_ = static_cast<uint64_t>(st.st_size);
    const std::string dir = std::filesystem::path(path_).parent_path().string();
    dirFd_ = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

void JournaledFile::closeFiles() {
    if (fd_ >= 0)
        ::close(fd_);
    if (dirFd_ >= 0)
        ::close(dirFd_);
    fd_ = dirFd_ = -1;
}

void JournaledFile::reopen() {
    closeFiles();
    staged_.clear();
    openFiles();
}

void JournaledFile::fail(const std::string& what, int error) {
    Fail(path_, what, error);
}

std::vector<unsigned char> JournaledFile::readDisk(uint64_t offset, size_t length) const {
    std::vector<unsigned char> bytes(length, 0);
    if (offset >= diskSize_)
        return bytes; // a page not written yet
    const size_t want = static_cast<size_t>(std::min<uint64_t>(length, diskSize_ - offset));
    size_t got = 0;
    while (got < want) {
        const ssize_t r =
            ::pread(fd_, bytes.data() + got, want - got, static_cast<off_t>(offset + got));
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0)
            Fail(path_, "cannot be read", r < 0 ? errno : EIO);
        got += static_cast<size_t>(r);
    }
    return bytes;
}

std::vector<unsigned char> JournaledFile::readPage(uint64_t offset, size_t length) const {
    const auto it = staged_.find(offset);
    if (it != staged_.end() && it->second.size() == length)
        return it->second;
    return readDisk(offset, length);
}

JournaledFile::View::~View() {
    if (size_ > 0)
        ::munmap(const_cast<unsigned char*>(data_), static_cast<size_t>(size_));
}

JournaledFile::View JournaledFile::view() const {
    if (diskSize_ == 0)
        return View(nullptr, 0);
    void* data = ::mmap(nullptr, static_cast<size_t>(diskSize_), PROT_READ, MAP_SHARED, fd_, 0);
    if (data == MAP_FAILED)
        Fail(path_, "cannot be read", errno);
    return View(static_cast<const unsigned char*>(data), diskSize_);
}

void JournaledFile::stagePage(uint64_t offset, std::vector<unsigned char> bytes) {
    size_ = std::max(size_, offset + bytes.size());
    staged_[offset] = std::move(bytes);
}

std::vector<unsigned char>& JournaledFile::stagedPage(uint64_t offset, size_t length) {
    const auto it = staged_.find(offset);
    if (it != staged_.end() && it->second.size() == length)
        return it->second;
    std::vector<unsigned char> page = readDisk(offset, length);
    size_ = std::max(size_, offset + length);
    return staged_[offset] = std::move(page);
}

void JournaledFile::resize(uint64_t size) {
    size_ = size;
    staged_.erase(staged_.lower_bound(size), staged_.end());
}

void JournaledFile::discard() {
    staged_.clear();
    size_ = diskSize_;
}

std::vector<unsigned char> JournaledFile::journalFor() const {
    std::vector<unsigned char> out(kMagic, kMagic + sizeof kMagic);
    Put(out, diskSize_, 8);
    Put(out, 0, 4); // entry count, filled in below
    Put(out, 0, 4);
    uint32_t count = 0;
    auto save = [&](uint64_t offset, uint64_t length) {
        Put(out, offset, 8);
        Put(out, length, 4);
        const std::vector<unsigned char> original = readDisk(offset, static_cast<size_t>(length));
        out.insert(out.end(), original.begin(), original.end());
        ++count;
    };
    for (const auto& [offset, bytes] : staged_)
        if (offset < diskSize_)
            save(offset, std::min<uint64_t>(bytes.size(), diskSize_ - offset));
    if (size_ < diskSize_)
        save(size_, diskSize_ - size_); // the cut tail
    for (int i = 0; i < 4; ++i)
        out[16 + i] = static_cast<unsigned char>((count >> (8 * i)) & 0xFF);
    Put(out, Fnv1a(out.data(), out.size()), 8);
    return out;
}

void JournaledFile::writeJournal(const std::vector<unsigned char>& journal) {
    const std::string name = journalPath(path_);
    struct stat st {};
    const bool existed = ::stat(name.c_str(), &st) == 0;
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        fail("cannot start its journal " + name, errno);
    const bool ok = WriteAllAt(fd, journal.data(), journal.size(), 0) && Flush(fd);
    const int error = errno;
    ::close(fd);
    if (!ok) {
        ::unlink(name.c_str());
        fail("cannot write its journal " + name, error);
    }
    // the journal must be found after a crash before the table is touched;
    // the emptied journal of the last change already has its entry on disk
    if (!existed && gFlush && dirFd_ >= 0)
        ::fsync(dirFd_);
}

void JournaledFile::writePages() {
    bool ok = true;
    for (const auto& [offset, bytes] : staged_) {
        const size_t length = static_cast<size_t>(std::min<uint64_t>(bytes.size(), size_ - offset));
        if (!gPageWriteHook) {
            ok = ok && WriteAllAt(fd_, bytes.data(), length, offset);
            continue;
        }
        const size_t half = length / 2;
        ok = ok && WriteAllAt(fd_, bytes.data(), half, offset);
        gPageWriteHook();
        ok = ok && WriteAllAt(fd_, bytes.data() + half, length - half, offset + half);
        gPageWriteHook();
    }
    if (ok && size_ != diskSize_)
        ok = ::ftruncate(fd_, static_cast<off_t>(size_)) == 0;
    ok = ok && Flush(fd_);
    if (!ok) {
        const int error = errno;
        discard();
        recover(path_);
        fail("cannot be written", error);
    }
}

// The change is committed once the emptied journal is on disk: an empty
// journal is no journal (recover() ignores it). Emptying it in place takes
// one flush of the journal, where removing it would take one of the folder
// that holds it and another to bring it back for the next change.
void JournaledFile::removeJournal() {
    const std::string name = journalPath(path_);
    const int fd = ::open(name.c_str(), O_WRONLY | O_CLOEXEC);
    const bool ok = fd >= 0 && ::ftruncate(fd, 0) == 0 && Flush(fd);
    const int error = errno;
    if (fd >= 0)
        ::close(fd);
    if (!ok) {
        discard();
        recover(path_);
        fail("cannot empty its journal " + name, error);
    }
}

void JournaledFile::commit() {
    if (!hasStaged())
        return;
    if (readOnlyError_ != 0) {
        const int error = readOnlyError_;
        discard();
        fail("cannot be written", error);
    }
    writeJournal(journalFor());
    writePages();
    removeJournal();
    staged_.clear();
    diskSize_ = size_;
}

} // namespace brimlo
