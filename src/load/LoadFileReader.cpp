#include "load/LoadFileReader.h"

#include "load/LoadFileLines.h"
#include "load/LoadRecalc.h"
#include "support/BrimloError.h"
#include "support/DovraneGeneric.h"
#include "support/LocalFileName.h"
#include "support/Prompt.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <locale>
#include <optional>
#include <sstream>

namespace brimlo {

namespace {

constexpr std::size_t kShortestLogLine = 45;
constexpr std::size_t kShortestHeaderLine = 150;

const char* const kFormatErrorText =
    "Unable to complete loading log data due to file format error.";
const char* const kAlbertaQuestion =
    "Calculations for this file were done using the Alberta Cubic Meter Rule.\n"
    "Would you like to convert this load to the Smalian's formula method?";
const char* const kAlbertaCaption = "Alberta Cubic Meter Rule Load Selected";

// Where a value came from, so a bad one can be named.
struct Source {
    const std::string& fileName;
    std::size_t line;

    [[noreturn]] void fail(const std::string& what) const {
        throw BrimloError("Unable to read load file '" + fileName + "', line " +
                          std::to_string(line) + ": " + what);
    }
};

// Leading blanks, an optional sign and digits. Blanks alone are no number:
// a header number field never reads as 0 because nothing stands in it.
std::optional<long long> ParseWhole(const std::string& text) {
    std::size_t i = text.find_first_not_of(' ');
    if (i == std::string::npos)
        return std::nullopt;
    bool negative = false;
    if (text[i] == '+' || text[i] == '-')
        negative = text[i++] == '-';
    if (i == text.size())
        return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9' || value > 100000000000LL)
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Digits from i on; returns how many.
std::size_t SkipDigits(const std::string& text, std::size_t& i) {
    const std::size_t start = i;
    while (i < text.size() && IsDigit(text[i]))
        ++i;
    return i - start;
}

// A decimal number as a floating-point field takes it: leading blanks, an
// optional sign, digits with an optional fraction, an optional exponent.
std::optional<double> ParseDecimal(const std::string& text) {
    std::size_t i = text.find_first_not_of(' ');
    if (i == std::string::npos)
        return std::nullopt;
    const std::size_t start = i;
    if (text[i] == '+' || text[i] == '-')
        ++i;
    std::size_t digits = SkipDigits(text, i);
    if (i < text.size() && text[i] == '.')
        digits += SkipDigits(text, ++i);
    if (digits == 0)
        return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        if (SkipDigits(text, i) == 0)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;
    // Read in the classic locale: the file's decimal point is a point
    // whatever the user's regional settings say.
    std::istringstream in(text.substr(start));
    in.imbue(std::locale::classic());
    double value = 0.0;
    in >> value;
    if (in.fail() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool AllBlank(const std::string& text) {
    return text.find_first_not_of(' ') == std::string::npos;
}

template <typename Int>
Int WholeField(const Source& src, const std::string& text, const char* field) {
    const std::optional<long long> value = ParseWhole(text);
    if (!value)
        src.fail(std::string(field) + " is not a number: '" + text + "'");
    if (*value < std::numeric_limits<Int>::min() || *value > std::numeric_limits<Int>::max())
        src.fail(std::string(field) + " is out of range: '" + text + "'");
    return static_cast<Int>(*value);
}

// A log's number field, trimmed; an empty one reads as 0.
template <typename Int>
Int TrimmedWholeField(const Source& src, const std::string& text, const char* field) {
    const std::string trimmed = Trimmed(text);
    return trimmed.empty() ? Int{0} : WholeField<Int>(src, trimmed, field);
}

// A log's number field that stays empty when blank, so that it is shown
// blank and written back as the blanks it was.
std::optional<int16_t> OptionalShortField(const Source& src, const std::string& text,
                                          const char* field) {
    const std::string trimmed = Trimmed(text);
    if (trimmed.empty())
        return std::nullopt;
    return WholeField<int16_t>(src, trimmed, field);
}

double DecimalField(const Source& src, const std::string& text, const char* field) {
    const std::optional<double> value = ParseDecimal(text);
    if (!value)
        src.fail(std::string(field) + " is not a number: '" + text + "'");
    return *value;
}

void ReadLogMeasures(const LoadFileLine& line, const Source& src, LogRecord& log) {
    log.TOPD = TrimmedWholeField<int16_t>(src, line.chars(12, 14), "TOPD");
    log.LENGTH = TrimmedWholeField<int16_t>(src, line.chars(15, 17), "LENGTH");
    log.C1 = TrimmedWholeField<int16_t>(src, line.chars(18, 20), "C1");
    log.C2 = TrimmedWholeField<int16_t>(src, line.chars(21, 23), "C2");
    log.C3 = TrimmedWholeField<int16_t>(src, line.chars(24, 26), "C3");
    log.CULL_TYPE = Trimmed(line.chars(27, 27));
    log.CULL_METH = Trimmed(line.chars(28, 28));
    log.GROSSVOL = TrimmedWholeField<int32_t>(src, line.chars(29, 33), "GROSSVOL");
    log.CULLVOL = TrimmedWholeField<int32_t>(src, line.chars(34, 38), "CULLVOL");
    log.BUTTD = TrimmedWholeField<int16_t>(src, line.chars(39, 42), "BUTTD");
    const std::optional<int16_t> loadId = OptionalShortField(src, line.chars(44, 46), "LOAD_ID");
    log.LOAD_ID = loadId.value_or(0);
    log.hasLoadId = loadId.has_value();
}

// Older files end their log lines before the later fields.
void ReadLogExtras(const LoadFileLine& line, const Source& src, LogRecord& log) {
    if (line.length >= 48) {
        const std::optional<int16_t> dbh = OptionalShortField(src, line.chars(47, 48), "DBH");
        log.DBH = dbh.value_or(0);
        log.hasDbh = dbh.has_value();
    }
    log.PROD_OVERRIDE = line.length < 50 ? "N" : line.chars(49, 49);
    log.hasActLength = line.text.size() >= 52;
    const std::string actLength = line.chars(50, 52);
    log.ACT_LENGTH = log.hasActLength && !AllBlank(actLength)
                         ? WholeField<int16_t>(src, actLength, "ACT_LENGTH")
                         : 0;
}

LogRecord ReadLog(const LoadFileLine& line, const Source& src, int32_t logNumber) {
    LogRecord log;
    log.LOGNUM = logNumber;
    // Codes are kept trimmed: "S " from a file and "S" keyed by hand are one
    // combination, and a right-aligned mill code finds its own master record.
    log.SPECIES = Trimmed(line.chars(6, 7));
    log.CONDCODE = Trimmed(line.chars(8, 9));
    log.PRODCODE = Trimmed(line.chars(10, 11));
    log.FLAG = line.chars(43, 43);
    ReadLogMeasures(line, src, log);
    ReadLogExtras(line, src, log);
    return log;
}

void ReadHeaderTexts(const LoadFileLine& line, HeaderRecord& h) {
    h.LESSEE = line.chars(2, 21);
    h.MILL_NAME = line.chars(22, 41);
    h.DISP = line.chars(42, 51);
    h.SUBDISP = line.chars(52, 55);
    h.BLOCK_NUM = line.chars(63, 66);
    h.TM9 = line.chars(91, 97);
    h.HSPECIES = Trimmed(line.chars(98, 99));
    h.HCONDCODE = Trimmed(line.chars(100, 101));
    h.HPRODCODE = Trimmed(line.chars(102, 103));
    h.SOURCE = line.chars(104, 123);
    h.MILL_CODE = Trimmed(line.chars(124, 125));
    h.SAWLOGS = line.chars(149, 149);
}

void ReadHeaderNumbers(const LoadFileLine& line, const Source& src, HeaderRecord& h) {
    h.MILL_NUM = WholeField<int32_t>(src, line.chars(56, 62), "MILL_NUM");
    h.LOAD_NUM = WholeField<int32_t>(src, line.chars(67, 71), "LOAD_NUM");
    h.POP = WholeField<int16_t>(src, line.chars(78, 80), "POP");
    h.HTOPD = WholeField<int16_t>(src, line.chars(81, 82), "HTOPD");
    h.NETWEIGHT = DecimalField(src, line.chars(83, 88), "NETWEIGHT");
    h.LOAD_ID = WholeField<int16_t>(src, line.chars(126, 128), "LOAD_ID");
    h.TREES = WholeField<int16_t>(src, line.chars(129, 132), "TREES");
}

// The eight-digit date when the line carries one, else the six-digit date
// with its century guessed from the first digit.
Date ReadDateWeighed(const LoadFileLine& line, const Source& src) {
    int year, month, day;
    if (line.length >= 150 && Trimmed(line.chars(150, 157)).size() == 8) {
        year = WholeField<int32_t>(src, line.chars(150, 153), "DATEWEIGHED year");
        month = WholeField<int32_t>(src, line.chars(154, 155), "DATEWEIGHED month");
        day = WholeField<int32_t>(src, line.chars(156, 157), "DATEWEIGHED day");
    } else {
        year = WholeField<int32_t>(src, line.chars(72, 73), "DATEWEIGHED year");
        year += line.at(72) == '9' ? 1900 : 2000;
        month = WholeField<int32_t>(src, line.chars(74, 75), "DATEWEIGHED month");
        day = WholeField<int32_t>(src, line.chars(76, 77), "DATEWEIGHED day");
    }
    const Date date = Date::fromYmd(year, month, day);
    if (!date.valid())
        src.fail("the date weighed " + std::to_string(year) + "/" + std::to_string(month) + "/" +
                 std::to_string(day) + " is no date");
    return date;
}

// A file that names no method is recomputed by Smalian's formula; an
// Alberta file only when the user wants it converted. (assign() rather than
// a literal: GCC 12 warns falsely about the literal at -O2.)
void ApplyVolumeMethod(const LoadFileLine& line, LoadFileReadResult& result, Prompt& prompt) {
    result.load.header.VOL_CALC_METH.assign(1, 'S');
    bool recalc = line.length <= 168;
    if (!recalc && line.at(168) == 'A') {
        const PromptAnswer answer = prompt.show(kAlbertaQuestion, kAlbertaCaption,
                                                PromptIcon::Information, PromptButtons::YesNo);
        result.convertedToSmalian = answer == PromptAnswer::Yes;
        recalc = result.convertedToSmalian;
        if (!recalc) {
            result.load.header.VOL_CALC_METH.assign(1, 'A');
            result.hideTrimAllowance = true;
        }
    }
    if (recalc) {
        RecalcLoadSmalian(result.load.logs);
        result.volumesRecomputed = true;
    }
}

void ReadHeaderLongForms(const LoadFileLine& line, const Source& src, LoadData& load) {
    HeaderRecord& h = load.header;
    if (line.length > 169)
        h.LOAD_NUM = WholeField<int32_t>(src, line.chars(169, 174), "LOAD_NUM");
    if (line.length > 175)
        h.SCALER_NAME = line.chars(175, 194);
    if (line.length > 195)
        h.SCALER_PERMIT = line.chars(195, 200);
    load.trimAllowance = line.length >= 201 && line.at(201) == '1';
}

void ReadHeader(const LoadFileLine& line, const Source& src, LoadFileReadResult& result,
                Prompt& prompt) {
    HeaderRecord& h = result.load.header;
    ReadHeaderTexts(line, h);
    ReadHeaderNumbers(line, src, h);
    h.DATEWEIGHED = ReadDateWeighed(line, src);
    if (line.length > 158 && !AllBlank(line.chars(158, 167)))
        h.TM9 = line.chars(158, 167);
    ApplyVolumeMethod(line, result, prompt);
    ReadHeaderLongForms(line, src, result.load);
}

// The log lines up to the header line; returns the last line read.
const LoadFileLine* ReadLogLines(const std::vector<LoadFileLine>& lines,
                                 const std::string& fileName, std::vector<LogRecord>& logs) {
    const LoadFileLine* last = nullptr;
    for (const LoadFileLine& line : lines) {
        last = &line;
        if (line.hasNul)
            Source{fileName, line.number}.fail("the line holds a NUL byte");
        if (line.length < kShortestLogLine)
            continue;
        if (line.at(1) == '3')
            break;
        if (line.chars(6, 7) == "  ")
            continue;
        const Source src{fileName, line.number};
        if (logs.size() >= static_cast<std::size_t>(kMaxLogs))
            src.fail("The maximum number of logs allowed is " + std::to_string(kMaxLogs));
        logs.push_back(ReadLog(line, src, static_cast<int32_t>(logs.size()) + 1));
    }
    return last;
}

} // namespace

LoadFileReadResult ReadLoadText(const std::string& bytes, const std::string& fileName,
                                Prompt& prompt) {
    LoadFileReadResult result;
    const std::vector<LoadFileLine> lines = SplitLoadFileLines(bytes);
    const LoadFileLine* last = ReadLogLines(lines, fileName, result.load.logs);
    if (last == nullptr || last->length < kShortestHeaderLine) {
        prompt.message(kFormatErrorText, "File Format Error", PromptIcon::Error);
        return result;
    }
    result.load.hasHeader = last->at(1) == '3';
    if (result.load.hasHeader)
        ReadHeader(*last, Source{fileName, last->number}, result, prompt);
    result.read = true;
    return result;
}

LoadFileReadResult ReadLoadFile(const std::string& fileName, Prompt& prompt) {
    std::error_code ec;
    const std::optional<std::string> bytes =
        std::filesystem::is_directory(LocalFileName(fileName), ec)
            ? std::nullopt
            : FileBytes(LocalFileName(fileName));
    if (!bytes) {
        prompt.message("Error: Unable to open file: '" + fileName + "'", "File Error",
                       PromptIcon::Error);
        return {};
    }
    return ReadLoadText(*bytes, fileName, prompt);
}

std::optional<std::string> FileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad())
        return std::nullopt;
    return bytes.str();
}

} // namespace brimlo
