#include "support/DirectoryListing.h"

#include "support/DovraneGeneric.h"
#include "support/Prompt.h"

namespace brimlo {

DirectoryListing::DirectoryListing(std::string directory, Prompt& prompt)
    : directory_(std::move(directory)) {
    std::error_code error;
    it_ = std::filesystem::directory_iterator(directory_, error);
    open_ = !error;
    if (!open_)
        reportFailure(prompt);
}

bool DirectoryListing::nextMatchingEntry(std::string& name,
                                         const std::vector<NamePattern>& patterns) {
    if (!open_)
        return false;
    std::error_code error;
    for (; it_ != std::filesystem::directory_iterator(); it_.increment(error)) {
        if (error)
            return false;
        std::string candidate = it_->path().filename().string();
        if (MatchesAnyPair(candidate, patterns)) {
            name = std::move(candidate);
            it_.increment(error);
            if (error)
                it_ = std::filesystem::directory_iterator();
            return true;
        }
    }
    return false;
}

void DirectoryListing::close() {
    it_ = std::filesystem::directory_iterator();
    open_ = false;
}

void DirectoryListing::reportFailure(Prompt& prompt) const {
    prompt.message("Error: Unable to open directory '" + directory_ + "'", "Directory Error",
                   PromptIcon::Error);
}

} // namespace brimlo
