#include "load/WorkspaceFragments.h"

#include "support/BrimloError.h"
#include "support/SqliteStore.h"
#include "support/TableFiles.h"
#include "support/WorkspaceFiles.h"

#include <charconv>
#include <filesystem>

namespace brimlo {

namespace {

// The workspace number of a log table's own file name ("Log12.db"), or 0.
int LogTableNumber(const std::string& name) {
    constexpr std::string_view kPrefix = "Log", kExtension = ".db";
    if (name.size() <= kPrefix.size() + kExtension.size() || name.rfind(kPrefix, 0) != 0 ||
        name.compare(name.size() - kExtension.size(), kExtension.size(), kExtension) != 0)
        return 0;
    const char* first = name.data() + kPrefix.size();
    const char* last = name.data() + name.size() - kExtension.size();
    int number = 0;
    const auto [end, error] = std::from_chars(first, last, number);
    return error == std::errc() && end == last && LogFileName(number) == name ? number : 0;
}

bool HoldsNoLog(const std::string& path) {
    try {
        return SqliteStore::open(path)->readAll().empty();
    } catch (const BrimloError&) {
        return false;
    }
}

} // namespace

std::vector<std::string> RemoveCutOffWorkspaces(const std::string& directory,
                                                const std::vector<std::string>& found) {
    std::vector<std::string> removed;
    for (const std::string& name : found) {
        const int number = LogTableNumber(name);
        if (number == 0 || std::filesystem::exists(directory + HeaderFileName(number)))
            continue;
        if (!HoldsNoLog(directory + name))
            continue;
        try {
            DeleteTable(directory + name);
            removed.push_back(name);
        } catch (const BrimloError&) { // offered again next time, as before
        }
    }
    return removed;
}

} // namespace brimlo
