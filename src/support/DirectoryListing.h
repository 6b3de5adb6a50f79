#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace brimlo {

class Prompt;

// A pair of texts an entry name must both contain to match.
using NamePattern = std::pair<std::string, std::string>;

// Walks the entries of one directory in the order the system returns them,
// yielding those whose names contain both texts of some pattern
// (case-sensitive). A directory that cannot be read is reported on the
// prompt ("Directory Error") and yields nothing.
class DirectoryListing {
public:
    // OpenDirectoryListing: directory as the program spells it.
    DirectoryListing(std::string directory, Prompt& prompt);

    bool isOpen() const { return open_; }
    // NextMatchingEntry: the next matching entry's name, or false at the end.
    bool nextMatchingEntry(std::string& name, const std::vector<NamePattern>& patterns);
    // CloseDirectoryListing.
    void close();

private:
    void reportFailure(Prompt& prompt) const;

    std::string directory_;
    std::filesystem::directory_iterator it_;
    bool open_ = false;
};

} // namespace brimlo
