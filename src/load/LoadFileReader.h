#pragma once

#include "load/LoadData.h"
#include "support/Prompt.h"

#include <filesystem>
#include <optional>
#include <string>

namespace brimlo {

// What reading a load file gave. When read is false the reader has already
// told the user (the file cannot be opened, or it has no header line) and
// the new load window closes. A file that cannot be understood (a number
// that is no number, a date that cannot be composed, too many logs) raises
// BrimloError naming the file and the line instead.
//
// The caller counts the logs in its Sp-Cd-Pr tally (SpCdPrTally::CountLogs)
// and applies trimAllowance and hideTrimAllowance to its window.
struct LoadFileReadResult {
    bool read = false;
    LoadData load;
    // An Alberta load the user chose to convert to Smalian's formula.
    bool convertedToSmalian = false;
    // The logs' volumes were recomputed by Smalian's formula: the file
    // carried no method, or the user converted it.
    bool volumesRecomputed = false;
    // An Alberta load kept as such hides the "Trim Allowance" box.
    bool hideTrimAllowance = false;
};

inline constexpr int kMaxLogs = 2400;

// Questions (converting an Alberta load) and why the file could not be read
// go to the prompt.
LoadFileReadResult ReadLoadFile(const std::string& fileName, Prompt& prompt);

// The whole file as it is on disk; nothing when it cannot be read.
std::optional<std::string> FileBytes(const std::filesystem::path& file);

// The same from the file's bytes; fileName only names it in messages.
LoadFileReadResult ReadLoadText(const std::string& bytes, const std::string& fileName,
                                Prompt& prompt);

} // namespace brimlo
