#include "cli/OutputTarget.h"

#include "support/BrimloError.h"
#include "support/LocalFileName.h"

#include <filesystem>

namespace brimlo::cli {

void RequireReplaceableFile(const std::string& fileName) {
    namespace fs = std::filesystem;
    const fs::path path = LocalFileName(fileName);
    std::error_code error;
    const bool link = fs::is_symlink(path, error);
    if (link || (fs::exists(path, error) && !fs::is_regular_file(path, error)))
        throw BrimloError("'" + fileName + "' is " + (link ? "a link" : "no regular file") +
                          "; the file is replaced when written, so give the file itself");
}

} // namespace brimlo::cli
