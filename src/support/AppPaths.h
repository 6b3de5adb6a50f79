#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace brimlo {

// Directory of the running program file, ending with a separator.
std::string InstallationDirectory();

// Chooses where defaults.db, master.db and the workspaces live: the user's
// shared application data folder plus folderName (created when missing),
// ending with a separator. When that folder cannot be had, directory is the
// installation directory and the answer is false (the caller tells the
// user; the program goes on).
bool FindAppDataDirectory(const std::string& installationDirectory, std::string& directory,
                          const std::string& folderName);

// Status answers of ReadProgramVersion.
inline constexpr int kVersionMissing = -1;
inline constexpr int kProgramFileUnreadable = -2;

// The product version of this build and the program file's modification
// date. Answers 0, or kProgramFileUnreadable when the file's date cannot be
// read (date is then left unset).
int ReadProgramVersion(const std::string& programFile, std::string& version,
                       std::optional<std::chrono::system_clock::time_point>& date);

// The running program's own file.
std::string ProgramFilePath();

} // namespace brimlo
