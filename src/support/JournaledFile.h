#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace brimlo {

// A file changed in atomic, durable steps. Changes are staged page by page
// (a page is any byte range the caller keeps to, such as a table's header or
// one of its blocks) and written by commit():
//   1. the original bytes of every staged page, and the file's size, go to a
//      rollback journal beside the file (the file's name plus "-journal"),
//      flushed to disk before the file is touched;
//   2. the pages are written and the file flushed;
//   3. the journal is emptied and flushed: the change is done. The empty
//      journal stays for the next change, whose journal then needs no flush
//      of the folder; opening the file removes it.
// Three flushes a change, the fewest a rollback journal allows for a change
// that is on disk when commit() returns (see docs/architecture.md).
// A crash at any instant leaves the journal (the change is rolled back at the
// next open) or an empty one or none (the change is complete), so the file
// never keeps a
// half-written page. A journal cut short by a crash in step 1 fails its
// checksum and is dropped: the file was not touched yet.
//
// Journal layout, little-endian: "BRJRNL1" and a zero byte; the file's size
// before the change (8 bytes); the number of saved ranges (4); 4 zero bytes;
// each range as its offset (8), length (4) and original bytes; last, the
// 64-bit FNV-1a hash of everything before it.
class JournaledFile {
public:
    // Opens an existing file for reading and writing, first rolling back a
    // change a crash left unfinished. Throws BrimloError naming the file.
    explicit JournaledFile(std::string path);
    ~JournaledFile();
    JournaledFile(const JournaledFile&) = delete;
    JournaledFile& operator=(const JournaledFile&) = delete;

    const std::string& path() const { return path_; }
    static std::string journalPath(const std::string& path) { return path + "-journal"; }
    // Rolls back an unfinished change of the file at path, if one is left.
    static void recover(const std::string& path);

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

    // Flushing to disk can be switched off to measure or exercise the work
    // around it; for benchmarks and tests only: without it a power cut may
    // lose or tear changes (a crash of the program alone still cannot).
    static void setFlushing(bool flush);
    // Tests that kill a writer call this between the halves of every page
    // written, to give the kill a chance to tear a page; nullptr for none.
    static void setPageWriteHookForTests(void (*hook)());

private:
    std::vector<unsigned char> readDisk(uint64_t offset, size_t length) const;
    std::vector<unsigned char> journalFor() const;
    void writeJournal(const std::vector<unsigned char>& journal);
    void writePages();
    void removeJournal();
    [[noreturn]] void fail(const std::string& what, int error);
    void openFiles();
    void closeFiles();

    std::string path_;
    int fd_ = -1;
    int dirFd_ = -1;
    int readOnlyError_ = 0; // why the file could only be opened for reading
    uint64_t size_ = 0;     // with staged changes
    uint64_t diskSize_ = 0; // as on disk
    std::map<uint64_t, std::vector<unsigned char>> staged_;
};

} // namespace brimlo
