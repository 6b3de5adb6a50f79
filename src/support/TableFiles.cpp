#include "support/TableFiles.h"

#include "support/BrimloError.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace brimlo {

namespace {

bool EndsWith(const std::string& text, const std::string& ending) {
    return text.size() >= ending.size() &&
           text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

// A read-only file system refuses to unlink even a file it does not hold;
// a file that is not there is deleted all the same.
// True when there was a file to remove.
bool RemoveFile(const std::string& file) {
    if (::unlink(file.c_str()) == 0)
        return true;
    if (errno == ENOENT)
        return false;
    const int error = errno;
    struct stat status {};
    if (::lstat(file.c_str(), &status) != 0 && errno == ENOENT)
        return false;
    throw BrimloError("Cannot delete table file '" + file + "': " + std::strerror(error));
}

} // namespace

const std::vector<std::string>& TableSideFileEndings() {
    static const std::vector<std::string> endings = {"-journal", "-wal", "-shm"};
    return endings;
}

bool IsTableSideFile(const std::string& name) {
    for (const auto& ending : TableSideFileEndings())
        if (EndsWith(name, ending))
            return true;
    return false;
}

bool TableExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

void DeleteTable(const std::string& path) {
    // Side files first: a journal left without its table would otherwise be
    // taken for the journal of a new table of the same name.
    bool removed = false;
    for (const auto& ending : TableSideFileEndings())
        removed |= RemoveFile(path + ending);
    removed |= RemoveFile(path);
    if (EndsWith(path, ".db"))
        removed |= RemoveFile(path.substr(0, path.size() - 3) + ".PX");
    // A folder left as it was needs no flush.
    if (removed)
        SyncDirectoryOf(path);
}

void SyncDirectoryOf(const std::string& path) {
    std::filesystem::path dir = std::filesystem::path(path).parent_path();
    if (dir.empty())
        dir = std::filesystem::path(".");
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace brimlo
