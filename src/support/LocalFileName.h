#pragma once

#include <QString>
#include <filesystem>
#include <string>

namespace brimlo {

// The program holds the names of the files a user picks as Windows-1252
// text, like every other text it shows or stores; the file system spells
// them in its own encoding (UTF-8 here). This is the name to open them by:
// "Québec.txt" must be the file the file manager shows under that name.
std::filesystem::path LocalFileName(const std::string& name);

// A name picked in a file dialog as the program holds it. A name with
// characters Windows-1252 cannot hold would come back as another file's
// name; it is refused with a BrimloError.
std::string HeldFileName(const QString& picked);

// The other way: a file system name as the program shows it in a message.
std::string ShownFileName(const std::filesystem::path& file);

} // namespace brimlo
