#include "load/SpCdPrTally.h"

#include "support/DovraneGeneric.h"
#include "support/Prompt.h"

#include <cstdio>

namespace brimlo {

namespace {

const char* const kWarningCaption = "Warning";

// A log without all three codes belongs to no combination yet.
bool AllCodesGiven(const std::string& species, const std::string& condition,
                   const std::string& product) {
    return !Trimmed(species).empty() && !Trimmed(condition).empty() && !Trimmed(product).empty();
}

std::string Formatted(const char* format, int32_t count) {
    char buf[256];
    std::snprintf(buf, sizeof buf, format, static_cast<int>(count), SpCdPrTally::kMaxProcessed);
    return buf;
}

} // namespace

std::string TallyKey(const std::string& species, const std::string& condition,
                     const std::string& product) {
    std::string key;
    for (const std::string* code : {&species, &condition, &product}) {
        if (code->size() < 2)
            key.append(2 - code->size(), ' ');
        key += *code;
    }
    return key;
}

std::string OverTwelveWarningText(int32_t count) {
    return Formatted("There are %2d Sp-Cd-Pr combinations. The maximum number of combinations "
                     "that are processed is %2d",
                     count);
}

std::string OverTwelveQuestionText(int32_t count) {
    return Formatted("There are %2d Sp-Cd-Pr combinations. The maximum number of combinations "
                     "that are processed is %2d. Save data?",
                     count);
}

void SpCdPrTally::CountCombination(const std::string& species, const std::string& condition,
                                   const std::string& product, Prompt* warnOn) {
    if (!AllCodesGiven(species, condition, product))
        return;
    const std::string key = TallyKey(species, condition, product);
    const int at = FindEntry(key);
    if (at >= 0) {
        ++entries_[at].second;
    } else {
        ++count_;
        if (count_ <= kMaxEntries)
            entries_.emplace_back(key, 1);
    }
    if (warnOn != nullptr)
        WarnIfOverTwelve(*warnOn);
}

void SpCdPrTally::ReleaseCombination(const std::string& species, const std::string& condition,
                                     const std::string& product) {
    if (!AllCodesGiven(species, condition, product))
        return;
    const int at = FindEntry(TallyKey(species, condition, product));
    if (at < 0)
        return;
    if (--entries_[at].second == 0) {
        entries_.erase(entries_.begin() + at);
        --count_;
    }
}

void SpCdPrTally::CountLogs(const std::vector<LogRecord>& logs) {
    for (const LogRecord& log : logs)
        CountCombination(log.SPECIES, log.CONDCODE, log.PRODCODE, nullptr);
}

void SpCdPrTally::Clear() {
    count_ = 0;
    entries_.clear();
}

int32_t SpCdPrTally::logsOf(const std::string& key) const {
    const int at = FindEntry(key);
    return at < 0 ? 0 : entries_[at].second;
}

std::string SpCdPrTally::CountText() const {
    return "SP-CD-PR Combinations: " + std::to_string(count_);
}

void SpCdPrTally::WarnIfOverTwelve(Prompt& prompt) const {
    if (count_ > kMaxProcessed)
        prompt.message(OverTwelveWarningText(count_), kWarningCaption, PromptIcon::Warning);
}

bool SpCdPrTally::AskSaveIfOverTwelve(Prompt& prompt) const {
    if (count_ <= kMaxProcessed)
        return true;
    return prompt.ask(OverTwelveQuestionText(count_), kWarningCaption, PromptButtons::YesNo) ==
           PromptAnswer::Yes;
}

int SpCdPrTally::FindEntry(const std::string& key) const {
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].first == key)
            return static_cast<int>(i);
    return -1;
}

} // namespace brimlo
