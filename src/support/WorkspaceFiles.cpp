#include "support/WorkspaceFiles.h"

#include "support/BrimloError.h"
#include "support/TableFiles.h"

#include <charconv>
#include <climits>
#include <filesystem>

namespace brimlo {

namespace {

constexpr const char* kHeader = "Header";
constexpr const char* kTableExtension = ".db";

bool AnyFileExists(const std::filesystem::path& base) {
    std::error_code error;
    if (std::filesystem::exists(base, error))
        return true;
    for (const auto& suffix : TableSideFileEndings()) {
        if (std::filesystem::exists(base.string() + suffix, error))
            return true;
    }
    return false;
}

} // namespace

const std::vector<NamePattern>& WorkspaceFilePatterns() {
    static const std::vector<NamePattern> patterns = {
        {"Header", ".db"}, {"Log", ".db"}, {"Log", ".PX"}};
    return patterns;
}

bool IsHeaderFileName(const std::string& name) {
    return name.find(kHeader) != std::string::npos;
}

int WorkspaceNumberFromHeaderName(const std::string& name) {
    const auto header = name.find(kHeader);
    const auto start = header == std::string::npos ? name.size() : header + 6;
    const auto end = name.find(kTableExtension, start);
    const std::string digits =
        name.substr(start, end == std::string::npos ? std::string::npos : end - start);
    int number = 0;
    const auto [ptr, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (digits.empty() || error != std::errc() || ptr != digits.data() + digits.size())
        throw BrimloError("'" + digits + "' is not a valid integer value");
    return number;
}

std::string HeaderTableName(const std::string& name) {
    for (const auto& suffix : TableSideFileEndings()) {
        if (name.size() > suffix.size() &&
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
            return name.substr(0, name.size() - suffix.size());
    }
    return name;
}

std::string HeaderFileName(int n) {
    return "Header" + std::to_string(n) + ".db";
}

std::string LogFileName(int n) {
    return "Log" + std::to_string(n) + ".db";
}

void DeleteWorkspaceFile(const std::string& path) {
    std::error_code error;
    std::filesystem::remove(path, error);
    for (const auto& suffix : TableSideFileEndings())
        std::filesystem::remove(path + suffix, error);
}

int NextFreeWorkspaceNumber(const std::string& directory, int counter) {
    const std::filesystem::path dir(directory);
    // past the largest number the count starts again at 1 (a workspace
    // taken over may carry the largest one), never going negative
    for (int n = counter < 1 || counter == INT_MAX ? 1 : counter + 1;;
         n = n == INT_MAX ? 1 : n + 1) {
        const std::string logIndex = "Log" + std::to_string(n) + ".PX";
        if (!AnyFileExists(dir / HeaderFileName(n)) && !AnyFileExists(dir / LogFileName(n)) &&
            !AnyFileExists(dir / logIndex))
            return n;
    }
}

} // namespace brimlo
