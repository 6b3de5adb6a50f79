#pragma once

#include "load/LogRecord.h"
#include "support/Prompt.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace brimlo {

// The running count of a load window's species-condition-product
// combinations. Only the first 24 distinct combinations are held; the count
// goes on beyond them so the over-twelve warnings stay truthful.
class SpCdPrTally {
public:
    static constexpr int kMaxEntries = 24;
    static constexpr int kMaxProcessed = 12;

    using Entry = std::pair<std::string, int32_t>; // tally key, logs

    // Warns on warnOn when it is given (WarnIfOverTwelve).
    void CountCombination(const std::string& species, const std::string& condition,
                          const std::string& product, Prompt* warnOn);
    void ReleaseCombination(const std::string& species, const std::string& condition,
                            const std::string& product);
    // Counts every log without warning, as reading a file or taking over a
    // workspace does.
    void CountLogs(const std::vector<LogRecord>& logs);
    void Clear();

    int32_t combinationCount() const { return count_; }
    const std::vector<Entry>& entries() const { return entries_; }
    // Logs held under a key, 0 when none.
    int32_t logsOf(const std::string& key) const;

    // "SP-CD-PR Combinations: n" for the status line.
    std::string CountText() const;
    // The warning box, once, when more than twelve combinations are counted.
    void WarnIfOverTwelve(Prompt& prompt) const;
    // The question before a save; false when the user answers No.
    bool AskSaveIfOverTwelve(Prompt& prompt) const;

private:
    int FindEntry(const std::string& key) const;

    int32_t count_ = 0;
    std::vector<Entry> entries_;
};

// The three codes right-aligned in two characters each, untrimmed.
std::string TallyKey(const std::string& species, const std::string& condition,
                     const std::string& product);
std::string OverTwelveWarningText(int32_t count);
std::string OverTwelveQuestionText(int32_t count);

} // namespace brimlo
