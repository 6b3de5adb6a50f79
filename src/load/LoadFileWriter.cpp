#include "load/LoadFileWriter.h"

#include "load/LogOrder.h"
#include "support/BrimloError.h"
#include "support/DovraneGeneric.h"
#include "support/LocalFileName.h"
#include "support/Prompt.h"
#include "support/StagedFile.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <unistd.h>

namespace brimlo {

namespace {

const char* const kFileErrorCaption = "File Error";

// Right-aligned in width, never clipped ("%*ld").
std::string Number(long long value, int width) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%*lld", width, value);
    return buf;
}

// Floating fields print to the nearest integer, halves to the even one.
long long NearestEven(double value) {
    if (!std::isfinite(value))
        return 0;
    const double rounded = std::nearbyint(value);
    if (rounded >= 9.2e18 || rounded <= -9.2e18)
        return 0;
    return static_cast<long long>(rounded);
}

// "%-ws": padded on the right, not clipped.
std::string PadRight(const std::string& text, size_t width) {
    return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

// "%ws": padded on the left, not clipped.
std::string PadLeft(const std::string& text, size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

// "%-*.*s": exactly width characters, cut and padded on the right.
std::string Fixed(const std::string& text, size_t width) {
    return PadRight(text.substr(0, width), width);
}

// "%*.*s": exactly width characters, cut and padded on the left.
std::string FixedRight(const std::string& text, size_t width) {
    return PadLeft(text.substr(0, width), width);
}

char FirstChar(const std::string& text) {
    return text.empty() ? ' ' : text[0];
}

// An empty date still writes a date that reads back: the date-time epoch,
// 30 December 1899, rather than digits no reader could compose.
void DateParts(Date date, int& year, int& month, int& day) {
    if (!date.valid()) {
        year = 1899;
        month = 12;
        day = 30;
        return;
    }
    date.toYmd(year, month, day);
}

std::string ShortDate(Date date) {
    int y, m, d;
    DateParts(date, y, m, d);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d%02d%02d", y % 100, m, d);
    return Fixed(buf, 6);
}

std::string LongDate(Date date) {
    int y, m, d;
    DateParts(date, y, m, d);
    char buf[24];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d", y, m, d);
    return Fixed(buf, 8);
}

// Positions 1 to 149: the short forms.
std::string HeaderShortPart(const HeaderRecord& h) {
    std::string line = "3";
    line += Fixed(h.LESSEE, 20);
    line += Fixed(h.MILL_NAME, 20);
    line += Fixed(h.DISP, 10);
    line += Fixed(h.SUBDISP, 4);
    line += Number(h.MILL_NUM, 7);
    line += PadLeft(h.BLOCK_NUM, 4);
    line += Number(h.LOAD_NUM % 100000, 5);
    line += ShortDate(h.DATEWEIGHED);
    line += Number(h.POP, 3);
    line += Number(h.HTOPD, 2);
    line += Number(NearestEven(h.NETWEIGHT), 6);
    line += "KG";
    line += Fixed(h.TM9, 7);
    line += PadRight(h.HSPECIES, 2);
    line += Fixed(h.HCONDCODE, 2);
    line += Fixed(h.HPRODCODE, 2);
    line += Fixed(h.SOURCE, 20);
    line += FixedRight(h.MILL_CODE, 2);
    line += Number(h.LOAD_ID, 3);
    line += Number(h.TREES, 4);
    line += std::string(16, ' ');
    line += FirstChar(h.SAWLOGS);
    return line;
}

// Positions 150 to 201: the whole forms and what came later.
std::string HeaderLongPart(const HeaderRecord& h, bool trimAllowance) {
    std::string line = LongDate(h.DATEWEIGHED);
    line += Fixed(h.TM9, 10);
    line += FirstChar(h.VOL_CALC_METH);
    line += Number(h.LOAD_NUM, 6);
    line += Fixed(h.SCALER_NAME, 20);
    line += Fixed(h.SCALER_PERMIT, 6);
    line += trimAllowance ? '1' : '0';
    return line;
}

// One numeric or unclipped text field and the width the file gives it.
struct FieldWidth {
    const char* field;
    std::string printed; // as the line would hold it
    std::string value;   // as the user knows it
    std::size_t width;
};

FieldWidth NumberWidth(const char* field, long long value, int width) {
    return {field, Number(value, width), std::to_string(value), static_cast<std::size_t>(width)};
}

FieldWidth TextWidth(const char* field, const std::string& text, std::size_t width) {
    return {field, text, "'" + text + "'", width};
}

std::optional<std::string> FirstTooWide(std::initializer_list<FieldWidth> fields,
                                        const std::string& where) {
    for (const FieldWidth& f : fields)
        if (f.printed.size() > f.width)
            return where + f.field + " " + f.value + " does not fit its " +
                   std::to_string(f.width) + " characters in the load file";
    return std::nullopt;
}

std::optional<std::string> LogWidthFault(int32_t position, const LogRecord& log) {
    return FirstTooWide(
        {NumberWidth("position", position, 4), TextWidth("SPECIES", log.SPECIES, 2),
         TextWidth("CONDCODE", log.CONDCODE, 2), TextWidth("PRODCODE", log.PRODCODE, 2),
         NumberWidth("TOPD", log.TOPD, 3), NumberWidth("LENGTH", log.LENGTH, 3),
         NumberWidth("C1", log.C1, 3), NumberWidth("C2", log.C2, 3), NumberWidth("C3", log.C3, 3),
         NumberWidth("GROSSVOL", NearestEven(log.GROSSVOL), 5),
         NumberWidth("CULLVOL", NearestEven(log.CULLVOL), 5), NumberWidth("BUTTD", log.BUTTD, 4),
         NumberWidth("LOAD_ID", log.LOAD_ID, 3), NumberWidth("DBH", log.DBH, 2),
         NumberWidth("ACT_LENGTH", log.ACT_LENGTH, 3)},
        "Log " + std::to_string(log.LOGNUM) + ": ");
}

std::optional<std::string> HeaderWidthFault(const HeaderRecord& h) {
    int year = 0, month = 0, day = 0;
    DateParts(h.DATEWEIGHED, year, month, day);
    return FirstTooWide(
        {NumberWidth("MILL_NUM", h.MILL_NUM, 7), TextWidth("BLOCK_NUM", h.BLOCK_NUM, 4),
         NumberWidth("LOAD_NUM", h.LOAD_NUM % 100000, 5), NumberWidth("LOAD_NUM", h.LOAD_NUM, 6),
         NumberWidth("POP", h.POP, 3), NumberWidth("HTOPD", h.HTOPD, 2),
         NumberWidth("NETWEIGHT", NearestEven(h.NETWEIGHT), 6),
         TextWidth("HSPECIES", h.HSPECIES, 2), NumberWidth("LOAD_ID", h.LOAD_ID, 3),
         NumberWidth("TREES", h.TREES, 4), NumberWidth("DATEWEIGHED year", year, 4)},
        "");
}

// The old file cannot be replaced when it may not be written, whatever its
// directory allows.
bool MayReplace(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::exists(file, ec))
        return true;
    return !std::filesystem::is_directory(file, ec) && ::access(file.c_str(), W_OK) == 0;
}

} // namespace

std::string FormatLogLine(int32_t position, const LogRecord& log) {
    std::string line = "0";
    line += Number(position, 4);
    line += PadRight(log.SPECIES, 2);
    line += PadRight(log.CONDCODE, 2);
    line += PadRight(log.PRODCODE, 2);
    line += Number(log.TOPD, 3);
    line += Number(log.LENGTH, 3);
    line += Number(log.C1, 3);
    line += Number(log.C2, 3);
    line += Number(log.C3, 3);
    line += FirstChar(log.CULL_TYPE);
    line += FirstChar(log.CULL_METH);
    line += Number(NearestEven(log.GROSSVOL), 5);
    line += Number(NearestEven(log.CULLVOL), 5);
    line += Number(log.BUTTD, 4);
    line += FirstChar(log.FLAG);
    line += Number(log.LOAD_ID, 3);
    line += Number(log.DBH, 2);
    line += FirstChar(log.PROD_OVERRIDE);
    line += Number(log.ACT_LENGTH, 3);
    line += "\r\n";
    return line;
}

std::string FormatHeaderLine(const HeaderRecord& header, bool trimAllowance) {
    return HeaderShortPart(header) + HeaderLongPart(header, trimAllowance);
}

std::string FormatLoadFile(const LoadData& load) {
    std::string text;
    text.reserve(load.logs.size() * 54 + 202);
    int32_t position = 0;
    for (const LogRecord* log : InLogNumberOrder(load.logs)) {
        ++position;
        if (!Trimmed(log->SPECIES).empty())
            text += FormatLogLine(position, *log);
    }
    text += FormatHeaderLine(load.header, load.trimAllowance);
    return text;
}

std::optional<std::string> LoadFileWidthFault(const LoadData& load) {
    int32_t position = 0;
    for (const LogRecord* log : InLogNumberOrder(load.logs)) {
        ++position;
        if (Trimmed(log->SPECIES).empty())
            continue;
        if (std::optional<std::string> fault = LogWidthFault(position, *log))
            return fault;
    }
    return HeaderWidthFault(load.header);
}

bool CheckLoadFileWidths(const LoadData& load, Prompt& prompt) {
    const std::optional<std::string> fault = LoadFileWidthFault(load);
    if (fault)
        prompt.message(*fault, kFileErrorCaption, PromptIcon::Error);
    return !fault;
}

bool WriteLoadFile(const LoadData& load, const std::string& fileName, Prompt& prompt) {
    if (!CheckLoadFileWidths(load, prompt))
        return false;
    const std::string text = FormatLoadFile(load);
    std::unique_ptr<StagedFile> file;
    try {
        if (MayReplace(LocalFileName(fileName)))
            file = std::make_unique<StagedFile>(LocalFileName(fileName));
    } catch (const BrimloError&) {
        file.reset();
    }
    if (!file) {
        prompt.message("Error: Unable to open file: " + fileName, kFileErrorCaption,
                       PromptIcon::Error);
        return false;
    }
    try {
        file->write(text);
        file->commit();
    } catch (const BrimloError& e) {
        // The old file is untouched; say what went wrong with the new one.
        prompt.message("Error: " + e.text(), kFileErrorCaption, PromptIcon::Error);
        return false;
    }
    return true;
}

} // namespace brimlo
