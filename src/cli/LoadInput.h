#pragma once

#include "load/LoadData.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace brimlo::cli {

// A load file read as the program opens it, with the line each record
// came from so that problems can be pointed at.
struct LoadInput {
    std::string fileName;
    LoadData load;
    // logLines[i] is the line of load.logs[i]; headerLine that of the header.
    std::vector<std::size_t> logLines;
    std::size_t headerLine = 0;
};

// Reads the file. When it cannot be read (missing, no header line, a value
// that is no number) error holds what the program would have said and the
// answer is empty. Questions of the reader are answered No: an Alberta load
// stays an Alberta load.
std::optional<LoadInput> ReadLoadInput(const std::string& fileName, std::string& error);

} // namespace brimlo::cli
