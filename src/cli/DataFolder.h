#pragma once

#include "cli/CliArguments.h"
#include "master/MainTables.h"

#include <memory>
#include <string>

namespace brimlo::cli {

// The folder of defaults.db and master.db the tool works on: the one given
// by --data-dir, else the program's own data folder. Its tables are opened
// (and made when missing) as the program does at start.
class DataFolder {
public:
    // Raises BrimloError when the folder or its tables cannot be used.
    explicit DataFolder(const ParsedArguments& args);

    const std::string& directory() const { return tables_->directory(); }
    MainTables& tables() { return *tables_; }
    Dataset& master() { return tables_->master(); }
    // The defaults record's SAWLOGS, which a master record without one takes.
    std::string defaultSawlogs();

private:
    std::unique_ptr<MainTables> tables_;
};

// The option every command on the master file takes.
inline const char* const kDataDirOption = "--data-dir";

} // namespace brimlo::cli
