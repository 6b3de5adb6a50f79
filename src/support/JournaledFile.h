#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace brimlo {

// A file changed in atomic, durable steps, by one process at a time.
// Changes are staged page by page (a page is any byte range the caller keeps
// to, such as a table's header or one of its blocks) and written by commit():
//   1. the original bytes of every staged page, and the file's size, go to a
//      rollback journal beside the file (the file's name plus "-journal"),
//      flushed to disk before the file is touched;
//   2. the pages are written and the file flushed;
//   3. the journal is emptied and flushed: the change is done. The empty
//      journal stays for the next change, whose journal then needs no flush
//      of the folder; closing the file removes it.
// Three flushes a change, the fewest a rollback journal allows for a change
// that is on disk when commit() returns (see docs/architecture.md).
// A crash at any instant leaves the journal (the change is rolled back at the
// next open) or an empty one or none (the change is complete), so the file
// never keeps a half-written page. A journal cut short by a crash in step 1 fails its
// checksum and is dropped: the file was not touched yet.
//
// Several processes share the file through lock(): a change is made under
// the exclusive lock (an open file description lock on the whole file, so
// two opens in one process exclude each other as well), reading under the
// shared one. A journal is rolled back only under the exclusive lock, when
// no writer can be at work, and only into the file it was written for: the
// journal names the file's device and inode, its size before and after the
// change and hashes of its identity bytes (the table's header page) before
// and after, in 512-byte pieces. A journal naming another file (one left
// beside a table restored from a backup, or copied in from elsewhere) is
// refused with a BrimloError and both files are left as they are.
//
// A path that is a symbolic link stands for the link's target: the journal
// lies beside the target. A link to a missing file is refused.
//
// Journal layout, little-endian: "BRJRNL2" and a zero byte; the file's size
// before the change (8 bytes); the number of saved ranges (4); 4 zero bytes;
// the device (8), the inode (8), the size after the change (8), the number of
// identity bytes (4) and of their pieces (4), each piece's hash before and
// after (8 + 8); each range as its offset (8), length (4) and original
// bytes; last, the 64-bit FNV-1a hash of everything before it.
class JournaledFile {
public:
    // Opens an existing file for reading and writing, first rolling back a
    // change a crash left unfinished. Throws BrimloError naming the file.
    explicit JournaledFile(std::string path);

    enum class LockMode { Shared, Exclusive };
    // Waits for the lock between processes. A file renamed over this one
    // since it was opened (a pack elsewhere) is opened in its place first,
    // and a change whose writer died is rolled back. Answers true when the
    // file was opened anew. Staged changes must be committed or discarded
    // before unlock().
    bool lock(LockMode mode);
    void unlock();
    bool locked() const { return lockType_ != kNoLock; }
    // The leading bytes that identify the file for its journal (a table's
    // header page).
    void setIdentityLength(size_t length) { identityLength_ = length; }
    ~JournaledFile();
    JournaledFile(const JournaledFile&) = delete;
    JournaledFile& operator=(const JournaledFile&) = delete;

    const std::string& path() const { return path_; }
    static std::string journalPath(const std::string& path) { return path + "-journal"; }
    // Removes the journal of the file at path (the file is being replaced).
    static void dropJournal(const std::string& path);

    // Size with the staged changes.
    uint64_t size() const { return size_; }
    // Bytes [offset, offset + length) as staged; a page must be read with the
    // offset and length it was staged with.
    std::vector<unsigned char> readPage(uint64_t offset, size_t length) const;
    // The whole file as on disk, without the staged changes, mapped into
    // memory rather than copied; valid until the view goes.
    class View {
    public:
        View(const unsigned char* data, uint64_t size) : data_(data), size_(size) {}
        ~View();
        View(const View&) = delete;
        View& operator=(const View&) = delete;
        const unsigned char* data() const { return data_; }
        uint64_t size() const { return size_; }

    private:
        const unsigned char* data_;
        uint64_t size_;
    };
    View view() const;
    void stagePage(uint64_t offset, std::vector<unsigned char> bytes);
    // The staged copy of a page, taken from the file when not staged yet, to
    // change in place; valid until the next staging call.
    std::vector<unsigned char>& stagedPage(uint64_t offset, size_t length);
    // Grows or cuts the file; staged pages past the new end are dropped.
    void resize(uint64_t size);
    bool hasStaged() const { return !staged_.empty() || size_ != diskSize_; }
    // Makes the staged changes durable, all or none. On failure the file is
    // rolled back, the staged changes are dropped and BrimloError is thrown.
    void commit();
    void discard();
    // Opens the file again after it was replaced by another (rename).
    void reopen();
    // The file's size on disk, as seen when the lock was last taken.
    uint64_t diskSize() const { return diskSize_; }

    // Flushing to disk and the lock between processes can be switched off
    // for this file, to measure or exercise the work around them; for
    // benchmarks and tests only, set while no lock is held. Without flushing
    // a power cut may lose or tear changes (a crash of the program alone
    // still cannot); without the lock two processes lose each other's
    // changes.
    struct Shortcuts {
        bool flush = true;
        bool lock = true;
    };
    void setShortcuts(Shortcuts shortcuts) { shortcuts_ = shortcuts; }
    const Shortcuts& shortcuts() const { return shortcuts_; }
    // Tests that kill a writer call this between the halves of every page
    // written, to give the kill a chance to tear a page; nullptr for none.
    static void setPageWriteHookForTests(void (*hook)());

private:
    struct Identity {
        uint64_t device = 0;
        uint64_t inode = 0;
    };
    std::vector<unsigned char> readDisk(uint64_t offset, size_t length) const;
    std::vector<unsigned char> journalFor() const;
    void writeJournal(const std::vector<unsigned char>& journal);
    void writePages();
    void removeJournal();
    void dropEmptyJournal();
    [[noreturn]] void fail(const std::string& what, int error);
    void openFiles();
    void closeFiles();
    bool acquire(int type);
    void setLock(int type);
    void recover(bool trusted);
    bool belongsHere(const std::vector<unsigned char>& journal) const;
    std::vector<unsigned char> identityBytes(bool staged) const;

    Shortcuts shortcuts_;
    std::string path_;
    std::string file_; // path_ with its links followed; the journal lies beside it
    int fd_ = -1;
    int dirFd_ = -1;
    int readOnlyError_ = 0; // why the file could only be opened for reading
    uint64_t size_ = 0;     // with staged changes
    uint64_t diskSize_ = 0; // as on disk
    Identity identity_;
    size_t identityLength_ = 0;
    // F_RDLCK or F_WRLCK while held; F_RDLCK is 0, so none is marked apart
    static constexpr int kNoLock = -1;
    int lockType_ = kNoLock;
    std::map<uint64_t, std::vector<unsigned char>> staged_;
};

} // namespace brimlo
