#pragma once

#include <string>
#include <vector>

namespace brimlo::crash {

// The line-by-line account the keying process gives of what it has done.
// A line is on disk (written and synced) before the process goes on, so a
// killed process has said exactly what it finished and what it had begun.
class AckLog {
public:
    explicit AckLog(const std::string& path);
    ~AckLog();
    AckLog(const AckLog&) = delete;
    AckLog& operator=(const AckLog&) = delete;

    void say(const std::string& line);

    // Every whole line of the file; a line cut off by the kill is dropped.
    static std::vector<std::string> Read(const std::string& path);

private:
    int fd_ = -1;
};

// Writes the bytes to the file and syncs it.
void WriteSynced(const std::string& path, const std::string& bytes);

// The whole file, or nothing when it does not exist.
bool ReadWhole(const std::string& path, std::string& bytes);

} // namespace brimlo::crash
