#pragma once

#include <QString>
#include <string>

namespace brimlo {

// Texts in files and tables are Windows-1252; the toolkit speaks Unicode.
// These convert at that boundary. Characters 1252 cannot hold become "?".
QString FromCp1252(const std::string& bytes);
std::string ToCp1252(const QString& text);

} // namespace brimlo
