#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace brimlo::testing {

// A file's bytes as they are on disk; empty when it cannot be read (a
// directory, a file not there).
inline std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Replaces a file's bytes, or creates it.
inline void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

} // namespace brimlo::testing
