#pragma once

#include "support/Prompt.h"

#include <optional>
#include <string>
#include <vector>

namespace brimlo::crash {

// The line-by-line account the keying process gives of what it has done.
// A line is on disk (written and synced) before the process goes on, so a
// killed process has said exactly what it finished and what it had begun.
// Every box the process is shown goes there too, answered as closing it
// would: the driver decides which boxes were allowed.
class AckLog : public Prompt {
public:
    explicit AckLog(const std::string& path);
    ~AckLog() override;
    AckLog(const AckLog&) = delete;
    AckLog& operator=(const AckLog&) = delete;

    void say(const std::string& line);
    PromptAnswer show(const std::string& text, const std::string&, PromptIcon,
                      PromptButtons buttons) override {
        say("BOX " + text);
        return dismissedAnswer(buttons);
    }

    // Every whole line of the file; a line cut off by the kill is dropped.
    static std::vector<std::string> Read(const std::string& path);

private:
    int fd_;
};

// Writes the bytes to the file and syncs it.
void WriteSynced(const std::string& path, const std::string& bytes);

// The whole file, or nothing when it does not exist.
std::optional<std::string> ReadWhole(const std::string& path);

} // namespace brimlo::crash
