#pragma once

#include "load/LoadData.h"

#include <cstdint>
#include <string>

namespace brimlo {

// One log line: 52 characters and a carriage return and line feed.
// position counts the log's place in LOGNUM order, skipped logs included.
std::string FormatLogLine(int32_t position, const LogRecord& log);

// The header line: 201 characters, no line end.
std::string FormatHeaderLine(const HeaderRecord& header, bool trimAllowance);

// The whole file: the lines of the logs with a species, then the header.
std::string FormatLoadFile(const LoadData& load);

// Replaces the file with the load, safely; false after telling the user why.
// The caller clears the load's modified flag on success.
bool WriteLoadFile(const LoadData& load, const std::string& fileName);

} // namespace brimlo
