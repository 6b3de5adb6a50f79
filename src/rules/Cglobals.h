#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <utility>

namespace brimlo {

// Constant texts read all over the program.
inline constexpr const char* kDefaultsFileName = "defaults.db";
inline constexpr const char* kMasterFileName = "master.db";
inline constexpr const char* kSampleWeightFileName = "SAMPLWT.dbf";
inline constexpr const char* kSampleVolumeFileName = "SAMPLVOL.dbf";
inline constexpr const char* kUntitledStem = "untitled";
inline constexpr const char* kProgramFolderName = "Brimlo";
inline constexpr const char* kDataEntryCaptionPrefix = "BRIMLO - Data Entry - ";
inline constexpr const char* kAlbertaMethodName = "Alberta Cubic Metre";
inline constexpr const char* kSmalianMethodName = "Smalian's Formula";
inline constexpr const char* kShortDateFormat = "yyyy/mm/dd";
inline constexpr const char* kLengthFormat = "#0.0";
inline constexpr const char* kPercentFormat = "#0.00";
inline constexpr const char* kVolumeFormat = "#0.000";
inline constexpr const char* kTreeVolumeFormat = "#0.0000";

// Version facts the start-up falls back on when the program file says less.
inline constexpr const char* kProductVersion = "1.1.0.0";
inline constexpr const char* kFallbackVersionText = "1.0.0";
inline constexpr int kFallbackProgramYear = 2002;
inline constexpr int kFallbackProgramMonth = 11;
inline constexpr int kFallbackProgramDay = 5;

// Shown when the shared data folder cannot be found or made.
inline constexpr const char* kAppDataDirMessage =
    "Error: Unable to locate Common Application directory, using Brimlo installation directory";
inline constexpr const char* kAppDataDirCaption = "Error:";

using ProgramDate = std::chrono::system_clock::time_point;

// The run's settings: the directories, version text and program date the
// start-up finds before any window exists. The start-up owns the one
// instance and hands it to the main window.
class Cglobals {
public:
    const std::string& installationDirectory() const { return installationDirectory_; }
    const std::string& appDataDirectory() const { return appDataDirectory_; }
    const std::string& versionText() const { return versionText_; }
    const std::optional<ProgramDate>& programDate() const { return programDate_; }

    void setInstallationDirectory(std::string dir) { installationDirectory_ = std::move(dir); }
    void setAppDataDirectory(std::string dir) { appDataDirectory_ = std::move(dir); }
    void setVersionText(std::string text) { versionText_ = std::move(text); }
    void setProgramDate(std::optional<ProgramDate> date) { programDate_ = date; }

private:
    std::string installationDirectory_;
    std::string appDataDirectory_;
    std::string versionText_;
    std::optional<ProgramDate> programDate_;
};

// The letter stored for a volume method name: "A", "S", or empty for any
// other name.
std::string VolumeMethodLetter(const std::string& name);

// The selector name of a volume method letter, empty for any other letter.
std::string VolumeMethodName(const std::string& letter);

class Dataset;

// Stores the letter of the volume method named into a one-character field
// of the table's current record, starting an edit when the table is
// browsing. A field already holding the letter is left alone, and so is the
// table's state: the load's method reaction runs only on a real change.
void StoreVolumeMethod(Dataset& table, const std::string& field, const std::string& name);

} // namespace brimlo
