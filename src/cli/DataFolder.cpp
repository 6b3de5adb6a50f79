#include "cli/DataFolder.h"

#include "rules/Cglobals.h"
#include "support/AppPaths.h"
#include "support/BrimloError.h"

#include <filesystem>

namespace brimlo::cli {

namespace {

std::string ChosenDirectory(const ParsedArguments& args) {
    const std::optional<std::string> given = args.value(kDataDirOption);
    if (!given) {
        std::string directory;
        if (!FindAppDataDirectory(InstallationDirectory(), directory, kProgramFolderName))
            throw BrimloError(kAppDataDirMessage);
        return directory;
    }
    std::error_code error;
    if (given->empty() || !std::filesystem::is_directory(*given, error))
        throw BrimloError("Data folder '" + *given + "' does not exist");
    return given->back() == '/' ? *given : *given + '/';
}

} // namespace

DataFolder::DataFolder(const ParsedArguments& args)
    : tables_(std::make_unique<MainTables>(ChosenDirectory(args))) {}

std::string DataFolder::defaultSawlogs() {
    Dataset& defaults = tables_->defaults();
    return defaults.isEmpty() ? std::string() : defaults.field("SAWLOGS").asString();
}

} // namespace brimlo::cli
