#include "shell/ListSearch.h"

#include <algorithm>
#include <cctype>

namespace brimlo {

namespace {

bool StartsWithNoCase(const std::string& entry, const std::string& prefix) {
    if (entry.size() < prefix.size())
        return false;
    return std::equal(prefix.begin(), prefix.end(), entry.begin(), [](char a, char b) {
        return std::toupper(static_cast<unsigned char>(a)) ==
               std::toupper(static_cast<unsigned char>(b));
    });
}

} // namespace

int ListSearch::find(const std::vector<std::string>& entries, int current, char letter,
                     bool quick) {
    const bool fresh = typed_.empty() || !quick;
    typed_ = fresh ? std::string(1, letter) : typed_ + letter;
    const bool sameKey =
        std::all_of(typed_.begin(), typed_.end(), [this](char c) { return c == typed_.front(); });
    const std::string wanted = sameKey ? typed_.substr(0, 1) : typed_;
    const int count = static_cast<int>(entries.size());
    const bool skipCurrent = fresh || sameKey;
    const int start = current < 0 ? 0 : current + (skipCurrent ? 1 : 0);
    for (int i = 0; i < count; ++i) {
        const int index = (start + i) % count;
        if (StartsWithNoCase(entries[static_cast<size_t>(index)], wanted))
            return index;
    }
    return -1;
}

} // namespace brimlo
