#pragma once

#include "load/LoadData.h"
#include "support/Prompt.h"

#include <cstdint>
#include <optional>
#include <string>

namespace brimlo {

// One log line: 52 characters and a carriage return and line feed.
// position counts the log's place in LOGNUM order, skipped logs included.
std::string FormatLogLine(int32_t position, const LogRecord& log);

// The header line: 201 characters, no line end.
std::string FormatHeaderLine(const HeaderRecord& header, bool trimAllowance);

// The whole file: the lines of the logs with a species, then the header.
std::string FormatLoadFile(const LoadData& load);

// The first value of the load that would not stay within its width in the
// file ("%3d" and the like widen the line instead of clipping it, and the
// reader would then take the next field's characters): a text naming the
// field and its value, or nothing when every value fits.
std::optional<std::string> LoadFileWidthFault(const LoadData& load);

// Shows the width fault in a box when there is one; true when the load fits.
bool CheckLoadFileWidths(const LoadData& load, Prompt& prompt);

// Replaces the file with the load, safely; false after telling the user why
// (a value too wide for its field included).
// The caller clears the load's modified flag on success.
bool WriteLoadFile(const LoadData& load, const std::string& fileName, Prompt& prompt);

} // namespace brimlo
