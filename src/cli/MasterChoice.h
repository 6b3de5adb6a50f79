#pragma once

#include "cli/CliArguments.h"

#include <optional>
#include <string>

namespace brimlo::cli {

// The option of the commands that work on a shared master: a PostgreSQL
// connection string ("postgresql://user@host:port/database"). Without it,
// the BRIMLO_MASTER environment variable; without either, or with
// BRIMLO_MASTER empty, the data folder's master.db.
inline const char* const kMasterOption = "--master";

// The server master's connection string, or nothing for master.db. Raises
// UsageError for a value that is no PostgreSQL connection string.
std::optional<std::string> ServerMaster(const ParsedArguments& args);

} // namespace brimlo::cli
