#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace brimlo {

// A file written beside its final name and moved over it only when complete:
// readers see the old file or the whole new one, never a half-written one.
// Bytes go to a temporary file in the target's directory; commit() flushes
// it to disk and renames it into place. Dropped without commit, the
// temporary file is removed and the old file stays as it was. Failures throw
// BrimloError naming the target file.
//
// A target that is a symbolic link keeps being one: the bytes are staged
// beside the link's target and renamed over it. A link to a missing file is
// refused at construction.
class StagedFile {
public:
    explicit StagedFile(std::filesystem::path target);
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    void write(std::string_view bytes);
    // Overwrites bytes already written (a header whose counts are known
    // only at the end).
    void writeAt(uint64_t offset, std::string_view bytes);
    void commit();

    const std::filesystem::path& target() const { return target_; }

private:
    void flushBuffer();
    void writeAll(std::string_view bytes, uint64_t offset);
    [[noreturn]] void fail(const std::string& what, int error) const;
    void discard();

    std::filesystem::path target_;
    std::filesystem::path dest_; // target_ with its links followed
    std::filesystem::path temp_;
    int fd_ = -1;
    uint64_t written_ = 0; // bytes handed to the file so far
    std::string buffer_;
};

} // namespace brimlo
