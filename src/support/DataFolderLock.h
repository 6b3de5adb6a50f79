#pragma once

#include <string>

namespace brimlo {

// One copy of the program per data folder, whatever its runtime folder or
// machine: the copy that runs holds an exclusive lock (flock) on a lock file
// in the data folder for its whole run, and writes its host and process
// into it for the message a later copy shows. The kernel lets go of the
// lock when the holder ends in any way, so a killed copy never blocks the
// next start.
class DataFolderLock {
public:
    // Tries once, without waiting. A folder where the lock file cannot be
    // made at all (read-only) is not locked and does not refuse the start.
    explicit DataFolderLock(const std::string& folder);
    ~DataFolderLock();
    DataFolderLock(const DataFolderLock&) = delete;
    DataFolderLock& operator=(const DataFolderLock&) = delete;

    // True when another copy holds the folder.
    bool taken() const { return taken_; }
    // Who holds it: "host NAME, process ID" as the holder wrote it.
    const std::string& holder() const { return holder_; }

    static constexpr const char* kFileName = "brimlo.lock";

private:
    int fd_ = -1;
    bool taken_ = false;
    std::string holder_;
};

} // namespace brimlo
