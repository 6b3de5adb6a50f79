#pragma once

#include <filesystem>
#include <string>

namespace brimlo {

// The program holds the names of the files a user picks as Windows-1252
// text, like every other text it shows or stores; the file system spells
// them in its own encoding (UTF-8 here). This is the name to open them by:
// "Québec.txt" must be the file the file manager shows under that name.
std::filesystem::path LocalFileName(const std::string& name);

// The other way: a file system name as the program shows it in a message.
std::string ShownFileName(const std::filesystem::path& file);

} // namespace brimlo
