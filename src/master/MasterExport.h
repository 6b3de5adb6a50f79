#pragma once

#include "support/DbaseWriter.h"
#include "support/Value.h"

#include <string>

namespace brimlo {

class CMaster;
class MasterStore;
class MasterTable;
class Prompt;

// The export once the user has chosen the ".out" file: the master ASCII
// file, then the two sample tables in its directory, then the success
// message listing the three files, on prompt. False when the ASCII file could not be
// written (the user has been told); errors of the sample tables are thrown
// for the application's error box, and no success message is shown then.
bool ExportMasterFiles(const std::string& chosenFileName, CMaster& master, MasterTable& table,
                       const std::string& defaultSawlogs, Prompt& prompt,
                       Date lastUpdate = DbaseWriter::Today());

// The same from a master store (a database server's master).
bool ExportMasterFiles(const std::string& chosenFileName, CMaster& master, MasterStore& store,
                       const std::string& defaultSawlogs, Prompt& prompt,
                       Date lastUpdate = DbaseWriter::Today());

// The directory part of a file name with its trailing separator; empty when
// the name has no directory part.
std::string DirectoryWithSeparator(const std::string& fileName);

// "Files:" and the three names, one a line, then "were generated successfully.".
std::string ExportSuccessText(const std::string& asciiFileName, const std::string& directory);

} // namespace brimlo
