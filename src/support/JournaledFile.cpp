#include "support/JournaledFile.h"

#include "support/BrimloError.h"
#include "support/FollowLinks.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brimlo {

namespace {

void (*gPageWriteHook)() = nullptr;

constexpr char kMagic[8] = {'B', 'R', 'J', 'R', 'N', 'L', '2', 0};
constexpr char kOldMagic[8] = {'B', 'R', 'J', 'R', 'N', 'L', '1', 0};
constexpr size_t kFixedPart = 8 + 8 + 4 + 4;
constexpr size_t kIdentityHead = 8 + 8 + 8 + 4 + 4;
constexpr size_t kPiece = 512; // what a power cut may leave torn or whole
constexpr size_t kEntryHead = 8 + 4;

struct JournalEntry {
    uint64_t offset;
    std::vector<unsigned char> bytes;
};

struct Journal {
    uint64_t originalSize = 0;
    std::vector<JournalEntry> entries;
};

// Who the journal was written for, readable even when the ranges after it
// were cut short.
struct JournalIdentity {
    uint64_t originalSize = 0;
    uint64_t device = 0;
    uint64_t inode = 0;
    uint64_t newSize = 0;
    uint64_t length = 0;
    std::vector<std::pair<uint64_t, uint64_t>> pieces; // hash before, after
    size_t end = 0;                                    // where the ranges start
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

// False when the journal was cut short before its identity was complete.
bool ParseIdentity(const std::vector<unsigned char>& b, JournalIdentity& id) {
    if (b.size() < kFixedPart + kIdentityHead || std::memcmp(b.data(), kMagic, sizeof kMagic) != 0)
        return false;
    const unsigned char* p = b.data() + kFixedPart;
    id.originalSize = Get(b.data() + 8, 8);
    id.device = Get(p, 8);
    id.inode = Get(p + 8, 8);
    id.newSize = Get(p + 16, 8);
    id.length = Get(p + 24, 4);
    const uint64_t pieces = Get(p + 28, 4);
    if (pieces != (id.length + kPiece - 1) / kPiece ||
        b.size() - kFixedPart - kIdentityHead < pieces * 16)
        return false;
    p += kIdentityHead;
    for (uint64_t i = 0; i < pieces; ++i, p += 16)
        id.pieces.emplace_back(Get(p, 8), Get(p + 8, 8));
    id.end = static_cast<size_t>(p - b.data());
    return true;
}

// False when the journal is incomplete or damaged: it was being written when
// the program stopped, so the table file was not touched yet.
bool ParseJournal(const std::vector<unsigned char>& b, const JournalIdentity& id, Journal& j) {
    if (b.size() < id.end + 8)
        return false;
    const size_t body = b.size() - 8;
    if (Fnv1a(b.data(), body) != Get(b.data() + body, 8))
        return false;
    j.originalSize = id.originalSize;
    const uint64_t count = Get(b.data() + 16, 4);
    size_t pos = id.end;
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

bool Flush(int fd, bool flush) {
    return !flush || ::fdatasync(fd) == 0;
}

[[noreturn]] void Fail(const std::string& path, const std::string& what, int error) {
    throw BrimloError("Table '" + path + "' " + what + ": " + std::strerror(error));
}

void ApplyJournal(const std::string& path, int fd, const Journal& j, bool flush) {
    bool ok = true;
    for (const JournalEntry& e : j.entries)
        ok = ok && WriteAllAt(fd, e.bytes.data(), e.bytes.size(), e.offset);
    ok = ok && ::ftruncate(fd, static_cast<off_t>(j.originalSize)) == 0 && Flush(fd, flush);
    if (!ok)
        Fail(path, "cannot be restored after an interrupted change", errno);
}

} // namespace

void JournaledFile::setPageWriteHookForTests(void (*hook)()) {
    gPageWriteHook = hook;
}

void JournaledFile::dropJournal(const std::string& path) {
    const std::string journal = journalPath(FollowLinks(path).string());
    if (::unlink(journal.c_str()) != 0 && errno != ENOENT)
        Fail(path, "cannot remove its journal " + journal, errno);
}

// Rolls back the change a dead writer left, under the exclusive lock. An
// untrusted journal (found on disk rather than just written by this object)
// must name this file.
void JournaledFile::recover(bool trusted) {
    const std::string journal = journalPath(file_);
    std::vector<unsigned char> bytes;
    if (!ReadWholeFile(journal, bytes)) {
        if (errno == ENOENT)
            return;
        fail("cannot read its journal " + journal, errno);
    }
    if (bytes.empty()) {
        // a journal being started when its writer stopped: nothing was changed
        if (::unlink(journal.c_str()) != 0 && errno != ENOENT)
            fail("cannot remove its journal " + journal, errno);
        return;
    }
    const bool older = bytes.size() >= sizeof kOldMagic &&
                       std::memcmp(bytes.data(), kOldMagic, sizeof kOldMagic) == 0;
    // a file of that name that is no journal of ours, even an unfinished one,
    // is left alone rather than lost
    const size_t prefix = std::min(bytes.size(), sizeof kMagic);
    if (!older && std::memcmp(bytes.data(), kMagic, prefix) != 0)
        throw BrimloError("Table '" + path_ + "' cannot be opened: the file " + journal +
                          " is in the way of its journal");
    JournalIdentity id;
    const bool identified = !older && ParseIdentity(bytes, id);
    if (older || (identified && !trusted && !belongsHere(bytes)))
        throw BrimloError("Table '" + path_ + "' cannot be opened: the unfinished change in " +
                          journal +
                          " was not made to this file (the table was replaced or restored "
                          "since, or the journal comes from another table). Nothing was "
                          "changed; move the journal away to open the table as it is");
    Journal j;
    if (identified && ParseJournal(bytes, id, j)) {
        if (readOnlyError_ != 0)
            fail("cannot be restored after an interrupted change", readOnlyError_);
        ApplyJournal(path_, fd_, j, shortcuts_.flush);
    }
    if (::unlink(journal.c_str()) != 0 && errno != ENOENT)
        fail("cannot remove its journal " + journal, errno);
    if (shortcuts_.flush && dirFd_ >= 0)
        ::fsync(dirFd_);
    struct stat st {};
    if (::fstat(fd_, &st) == 0)
        diskSize_ = size_ = static_cast<uint64_t>(st.st_size);
}

// The journal names this file, and what the file holds now is what the
// change started from or what it was making, piece by piece.
bool JournaledFile::belongsHere(const std::vector<unsigned char>& journal) const {
    JournalIdentity id;
    if (!ParseIdentity(journal, id) || id.device != identity_.device || id.inode != identity_.inode)
        return false;
    const uint64_t size = diskSize_;
    if (size < std::min(id.originalSize, id.newSize) ||
        size > std::max(id.originalSize, id.newSize) || id.length > size)
        return false;
    const std::vector<unsigned char> now = readDisk(0, static_cast<size_t>(id.length));
    for (size_t i = 0; i < id.pieces.size(); ++i) {
        const size_t start = i * kPiece;
        const uint64_t hash = Fnv1a(now.data() + start, std::min(kPiece, now.size() - start));
        if (hash != id.pieces[i].first && hash != id.pieces[i].second)
            return false;
    }
    return true;
}

JournaledFile::JournaledFile(std::string path)
    : path_(std::move(path)), file_(FollowExistingLinks(path_).string()) {
    openFiles();
    try {
        lock(LockMode::Shared);
        unlock();
    } catch (...) {
        closeFiles();
        throw;
    }
}

JournaledFile::~JournaledFile() {
    dropEmptyJournal();
    closeFiles();
}

// The emptied journal is kept while the file is open, for the next change;
// on closing it goes, when no other process is changing the file (its
// exclusive lock is free at once), so no writer's new journal is taken.
void JournaledFile::dropEmptyJournal() {
    if (fd_ < 0 || lockType_ != kNoLock || readOnlyError_ != 0)
        return;
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    if (::fcntl(fd_, F_OFD_SETLK, &lock) != 0)
        return;
    const std::string journal = journalPath(file_);
    struct stat st {};
    if (::stat(journal.c_str(), &st) == 0 && st.st_size == 0)
        ::unlink(journal.c_str());
    lock.l_type = F_UNLCK;
    ::fcntl(fd_, F_OFD_SETLK, &lock);
}

// Takes the lock on the open file; when the name now leads to another file
// (renamed over this one), opens that one and tries again. True when the
// file was opened anew.
bool JournaledFile::acquire(int type) {
    bool renewed = false;
    for (;;) {
        setLock(type);
        struct stat now {};
        struct stat open {};
        if (::stat(file_.c_str(), &now) != 0) {
            const int error = errno;
            unlock();
            fail(error == ENOENT ? "has been removed or moved" : "cannot be opened", error);
        }
        if (::fstat(fd_, &open) != 0)
            fail("cannot be read", errno);
        if (now.st_dev == open.st_dev && now.st_ino == open.st_ino) {
            identity_ = {static_cast<uint64_t>(open.st_dev), static_cast<uint64_t>(open.st_ino)};
            diskSize_ = size_ = static_cast<uint64_t>(open.st_size);
            return renewed;
        }
        unlock();
        reopen();
        renewed = true;
    }
}

void JournaledFile::setLock(int type) {
    // a file only readable takes the shared lock; its changes fail anyway
    if (type == F_WRLCK && readOnlyError_ != 0)
        type = F_RDLCK;
    struct flock lock {};
    lock.l_type = static_cast<short>(type);
    lock.l_whence = SEEK_SET;
    int result;
    while ((result = ::fcntl(fd_, F_OFD_SETLKW, &lock)) != 0 && errno == EINTR) {
    }
    if (result != 0)
        fail("cannot be locked", errno);
    lockType_ = type;
}

namespace {

bool JournalPending(const std::string& journal) {
    struct stat st {};
    return ::stat(journal.c_str(), &st) == 0 && st.st_size > 0;
}

} // namespace

bool JournaledFile::lock(LockMode mode) {
    const int type = mode == LockMode::Exclusive ? F_WRLCK : F_RDLCK;
    if (!shortcuts_.lock) {
        lockType_ = type;
        return false;
    }
    bool renewed = acquire(type);
    // a journal seen under a lock has no live writer: only the exclusive
    // lock may roll it back (an emptied journal is none, see removeJournal)
    while (JournalPending(journalPath(file_))) {
        if (type == F_RDLCK && readOnlyError_ == 0) {
            // let go of the shared lock first: two readers that both wait
            // for the exclusive one while holding it would wait for ever
            unlock();
            renewed = acquire(F_WRLCK) || renewed;
        }
        try {
            recover(false);
        } catch (...) {
            unlock();
            throw;
        }
        if (type == F_RDLCK)
            renewed = acquire(F_RDLCK) || renewed;
        if (readOnlyError_ != 0)
            break;
    }
    return renewed;
}

void JournaledFile::unlock() {
    if (lockType_ == kNoLock || fd_ < 0)
        return;
    if (!shortcuts_.lock) {
        lockType_ = kNoLock;
        return;
    }
    struct flock lock {};
    lock.l_type = F_UNLCK;
    lock.l_whence = SEEK_SET;
    ::fcntl(fd_, F_OFD_SETLK, &lock);
    lockType_ = kNoLock;
}

void JournaledFile::openFiles() {
    fd_ = ::open(file_.c_str(), O_RDWR | O_CLOEXEC);
    readOnlyError_ = 0;
    if (fd_ < 0 && (errno == EACCES || errno == EPERM || errno == EROFS)) {
        readOnlyError_ = errno; // readable still; changes fail before a journal is made
        fd_ = ::open(file_.c_str(), O_RDONLY | O_CLOEXEC);
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
    identity_ = {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
    const std::string dir = std::filesystem::path(file_).parent_path().string();
    dirFd_ = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

void JournaledFile::closeFiles() {
    lockType_ = kNoLock; // closing the file lets go of its lock
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

// The identity bytes as on disk, or as they will be once the staged pages
// are written.
std::vector<unsigned char> JournaledFile::identityBytes(bool staged) const {
    const size_t length = static_cast<size_t>(std::min<uint64_t>(identityLength_, diskSize_));
    std::vector<unsigned char> bytes = readDisk(0, length);
    if (!staged)
        return bytes;
    for (const auto& [offset, page] : staged_) {
        if (offset >= length)
            break;
        const size_t n = std::min(page.size(), static_cast<size_t>(length - offset));
        std::memcpy(bytes.data() + offset, page.data(), n);
    }
    return bytes;
}

std::vector<unsigned char> JournaledFile::journalFor() const {
    std::vector<unsigned char> out(kMagic, kMagic + sizeof kMagic);
    Put(out, diskSize_, 8);
    Put(out, 0, 4); // entry count, filled in below
    Put(out, 0, 4);
    Put(out, identity_.device, 8);
    Put(out, identity_.inode, 8);
    Put(out, size_, 8);
    const std::vector<unsigned char> before = identityBytes(false);
    const std::vector<unsigned char> after = identityBytes(true);
    const size_t pieces = (before.size() + kPiece - 1) / kPiece;
    Put(out, before.size(), 4);
    Put(out, pieces, 4);
    for (size_t start = 0; start < before.size(); start += kPiece) {
        const size_t n = std::min(kPiece, before.size() - start);
        Put(out, Fnv1a(before.data() + start, n), 8);
        Put(out, Fnv1a(after.data() + start, n), 8);
    }
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
    const std::string name = journalPath(file_);
    struct stat st {};
    const bool existed = ::stat(name.c_str(), &st) == 0;
    // Under the exclusive lock the journal is empty (a pending one was rolled
    // back when the lock was taken), so it is cut only when it is not: ext4
    // takes any truncation to nothing for a file being replaced and gives it
    // disk blocks when it is closed, blocks that emptying the journal must
    // free again, which on a disk mounted with discard waits for the disk.
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        fail("cannot start its journal " + name, errno);
    struct stat now {};
    const bool empty = ::fstat(fd, &now) == 0 && (now.st_size == 0 || ::ftruncate(fd, 0) == 0);
    const bool ok =
        empty && WriteAllAt(fd, journal.data(), journal.size(), 0) && Flush(fd, shortcuts_.flush);
    const int error = errno;
    ::close(fd);
    if (!ok) {
        ::unlink(name.c_str());
        fail("cannot write its journal " + name, error);
    }
    // the journal must be found after a crash before the table is touched;
    // the emptied journal of the last change already has its entry on disk
    if (!existed && shortcuts_.flush && dirFd_ >= 0)
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
    ok = ok && Flush(fd_, shortcuts_.flush);
    if (!ok) {
        const int error = errno;
        discard();
        recover(true);
        fail("cannot be written", error);
    }
}

// The change is committed once the emptied journal is on disk: an empty
// journal is no journal (recover() ignores it). Emptying it in place takes
// one flush of the journal, where removing it would take one of the folder
// that holds it and another to bring it back for the next change.
void JournaledFile::removeJournal() {
    const std::string name = journalPath(file_);
    const int fd = ::open(name.c_str(), O_WRONLY | O_CLOEXEC);
    const bool ok = fd >= 0 && ::ftruncate(fd, 0) == 0 && Flush(fd, shortcuts_.flush);
    const int error = errno;
    if (fd >= 0)
        ::close(fd);
    if (!ok) {
        discard();
        recover(true);
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
    if (lockType_ != F_WRLCK) {
        discard();
        throw BrimloError("Table '" + path_ + "' cannot be written without its lock");
    }
    writeJournal(journalFor());
    writePages();
    removeJournal();
    staged_.clear();
    diskSize_ = size_;
}

} // namespace brimlo
