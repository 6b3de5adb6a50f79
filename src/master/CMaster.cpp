#include "master/CMaster.h"

#include "load/BulkScope.h"
#include "master/MasterFields.h"
#include "master/MasterStore.h"
#include "master/MasterTable.h"
#include "support/BrimloError.h"
#include "support/LocalFileName.h"
#include "support/Prompt.h"
#include "support/StagedFile.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <limits>
#include <memory>

namespace brimlo {

namespace {

constexpr std::size_t kAsciiChunk = 1 << 20;

// Fields a short record lacks read as null, as the table engine promises.
struct RecordFields {
    const Record& record;
    const Value& operator()(int index) const {
        static const Value null;
        return index < static_cast<int>(record.size()) ? record[static_cast<std::size_t>(index)]
                                                       : null;
    }
};

// The table's current record, read in place.
struct TableFields {
    const MasterTable& table;
    const Value& operator()(int index) const { return table.field(index); }
};

// Halves go to the even neighbour, as the weight has always been posted.
int32_t NearestEven(double value, bool& inRange) {
    double whole = std::round(value);
    if (std::fabs(value - std::trunc(value)) == 0.5)
        whole = 2.0 * std::round(value / 2.0);
    inRange = whole >= std::numeric_limits<int32_t>::min() &&
              whole <= std::numeric_limits<int32_t>::max();
    return inRange ? static_cast<int32_t>(whole) : 0;
}

__attribute__((format(printf, 2, 3))) void AppendFormat(std::string& out, const char* format, ...) {
    char small[512];
    std::va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    if (n < 0)
        return;
    if (static_cast<std::size_t>(n) < sizeof small) {
        out.append(small, static_cast<std::size_t>(n));
        return;
    }
    std::string large(static_cast<std::size_t>(n) + 1, '\0');
    va_start(args, format);
    std::vsnprintf(large.data(), large.size(), format, args);
    va_end(args);
    out.append(large.data(), static_cast<std::size_t>(n));
}

// Year and month as six digits; a record without a date prints blanks.
std::string YearMonth(const Date& date) {
    if (!date.valid())
        return {};
    int y = 0, m = 0, d = 0;
    date.toYmd(y, m, d);
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02d", y, m);
    return text;
}

// printf's "%<width>.0f": the value rounded to a whole number as the current
// rounding mode rounds (halves to even), right-aligned in width, "-0" for a
// negative value that rounds to zero. Done by hand because printf's exact
// decimal expansion is most of the export's time; values too large for an
// exact integer go to printf itself.
void AppendWhole(std::string& out, double value, int width) {
    const double whole = std::nearbyint(value);
    if (!(std::fabs(whole) < 1e15)) {
        AppendFormat(out, "%*.0f", width, value);
        return;
    }
    char digits[24];
    char* end = digits;
    if (whole == 0 && std::signbit(whole))
        *end++ = '-';
    end = std::to_chars(end, digits + sizeof digits, static_cast<long long>(whole)).ptr;
    const auto length = static_cast<int>(end - digits);
    if (length < width)
        out.append(static_cast<std::size_t>(width - length), ' ');
    out.append(digits, end);
}

// "%-8.8s%4ld%5.0f%7.0f%7.0f"
void AppendGroupBlock(std::string& out, const SummaryGroup& g) {
    AppendFormat(out, "%-8.8s%4ld", g.SPCDPR.c_str(), static_cast<long>(g.LOGNUMS));
    AppendWhole(out, g.LENGTH * 10, 5);
    AppendWhole(out, g.GROSSVOL * 1000, 7);
    AppendWhole(out, g.CULLVOL * 1000, 7);
}

void ShowUnableToWrite(const std::string& fileName, Prompt& prompt) {
    prompt.message("Error: Unable to write to file: '" + fileName + "'.",
                   "File Error:", PromptIcon::Error);
}

struct ChunkNotWritten {};

// A file that fails midway is the same to the user as one that cannot be
// opened: the old file stays and the export stops.
bool WriteChunk(StagedFile& file, std::string& chunk, bool last) {
    try {
        file.write(chunk);
        chunk.clear();
        if (last)
            file.commit();
    } catch (const BrimloError&) {
        return false;
    }
    return true;
}

} // namespace

void CMaster::RangeError() {
    throw BrimloError("Range check error");
}

void CMaster::ClearSummary() {
    summary = LoadSummary{};
}

void CMaster::BuildFromLoad(const HeaderRecord& header, const std::vector<LogRecord>& logs) {
    BuildFromLoad(header, LoadSummary{});
    summary = ComputeLoadSummary(header, logs);
}

void CMaster::BuildFromLoad(const HeaderRecord& header, const LoadSummary& loadSummary) {
    ClearSummary();
    MILLCODE = header.MILL_CODE;
    POP = header.POP;
    MILL_NUM = header.MILL_NUM;
    if (header.SAWLOGS.empty())
        RangeError();
    SAWLOGS = header.SAWLOGS[0];
    LESSEE = header.LESSEE;
    MILL_NAME = header.MILL_NAME;
    DISP = header.DISP;
    SUBDISP = header.SUBDISP;
    BLOCK_NUM = header.BLOCK_NUM;
    LOAD_NUM = header.LOAD_NUM;
    TOP_D = header.HTOPD;
    WEIGH_DATE = header.DATEWEIGHED;
    bool inRange = true;
    NET_WEIGHT = NearestEven(header.NETWEIGHT, inRange);
    if (!inRange)
        RangeError();
    TM9 = header.TM9;
    HSPECIES = header.HSPECIES;
    HCONDCODE = header.HCONDCODE;
    HPRODCODE = header.HPRODCODE;
    SOURCE = header.SOURCE;
    TREES = header.TREES;
    summary = loadSummary;
}

Record CMaster::ToMasterRecord() const {
    Record r(kMasterFieldCount);
    r[kMasterMillCode] = MILLCODE;
    r[kMasterPop] = int32_t{POP};
    r[kMasterMillNum] = MILL_NUM;
    r[kMasterSawlogs] = SAWLOGS == '\0' ? std::string() : std::string(1, SAWLOGS);
    r[kMasterLessee] = LESSEE;
    r[kMasterMillName] = MILL_NAME;
    r[kMasterDisp] = DISP;
    r[kMasterSubDisp] = SUBDISP;
    r[kMasterBlockNum] = BLOCK_NUM;
    r[kMasterLoadNum] = LOAD_NUM;
    r[kMasterTopD] = int32_t{TOP_D};
    r[kMasterWeighDate] = WEIGH_DATE;
    r[kMasterNetWeight] = NET_WEIGHT;
    r[kMasterTm9] = TM9;
    r[kMasterHSpecies] = HSPECIES;
    r[kMasterHCondCode] = HCONDCODE;
    r[kMasterHProdCode] = HPRODCODE;
    r[kMasterSource] = SOURCE;
    r[kMasterTrees] = TREES;
    for (int n = 1; n <= LoadSummary::kMaxGroups; ++n) {
        // A group past NUM_GROUPS is stored empty whatever the object holds.
        const SummaryGroup g = n <= summary.NUM_GROUPS ? summary.groups[n - 1] : SummaryGroup{};
        r[MasterGroupFieldIndex(n, kGroupSpCdPr)] = g.SPCDPR;
        r[MasterGroupFieldIndex(n, kGroupLogNums)] = g.LOGNUMS;
        r[MasterGroupFieldIndex(n, kGroupLength)] = g.LENGTH;
        r[MasterGroupFieldIndex(n, kGroupGrossVol)] = g.GROSSVOL;
        r[MasterGroupFieldIndex(n, kGroupCullVol)] = g.CULLVOL;
        r[MasterGroupFieldIndex(n, kGroupNetVol)] = g.NETVOL;
        r[MasterGroupFieldIndex(n, kGroupCullPer)] = g.CULLPER;
    }
    r[kMasterNumGroups] = int32_t{summary.NUM_GROUPS};
    r[kMasterTotalLogs] = summary.TOTALLOGS;
    return r;
}

template <class FieldAt> void CMaster::CopyHeaderFromMaster(const FieldAt& fieldAt) {
    MILLCODE = fieldAt(kMasterMillCode).asString();
    POP = static_cast<int16_t>(fieldAt(kMasterPop).asInt());
    MILL_NUM = fieldAt(kMasterMillNum).asInt();
    LESSEE = fieldAt(kMasterLessee).asString();
    MILL_NAME = fieldAt(kMasterMillName).asString();
    DISP = fieldAt(kMasterDisp).asString();
    SUBDISP = fieldAt(kMasterSubDisp).asString();
    BLOCK_NUM = fieldAt(kMasterBlockNum).asString();
    LOAD_NUM = fieldAt(kMasterLoadNum).asInt();
    WEIGH_DATE = fieldAt(kMasterWeighDate).asDate();
    TOP_D = static_cast<int16_t>(fieldAt(kMasterTopD).asInt());
    NET_WEIGHT = fieldAt(kMasterNetWeight).asInt();
    TM9 = fieldAt(kMasterTm9).asString();
    HSPECIES = fieldAt(kMasterHSpecies).asString();
    HCONDCODE = fieldAt(kMasterHCondCode).asString();
    HPRODCODE = fieldAt(kMasterHProdCode).asString();
    SOURCE = fieldAt(kMasterSource).asString();
    TREES = fieldAt(kMasterTrees).asInt();
    summary.TOTALLOGS = fieldAt(kMasterTotalLogs).asInt();
    // A damaged count must not reach past the twelve groups there are.
    const int32_t groups = fieldAt(kMasterNumGroups).asInt();
    summary.NUM_GROUPS =
        static_cast<int16_t>(groups < 0 ? 0 : std::min<int32_t>(groups, LoadSummary::kMaxGroups));
}

template <class FieldAt> void CMaster::CopyGroupsFromMaster(const FieldAt& fieldAt) {
    for (int n = 1; n <= summary.NUM_GROUPS; ++n) {
        SummaryGroup& g = summary.groups[n - 1];
        g.SPCDPR = fieldAt(MasterGroupFieldIndex(n, kGroupSpCdPr)).asString();
        g.LOGNUMS = fieldAt(MasterGroupFieldIndex(n, kGroupLogNums)).asInt();
        g.LENGTH = fieldAt(MasterGroupFieldIndex(n, kGroupLength)).asDouble();
        g.GROSSVOL = fieldAt(MasterGroupFieldIndex(n, kGroupGrossVol)).asDouble();
        g.CULLVOL = fieldAt(MasterGroupFieldIndex(n, kGroupCullVol)).asDouble();
        g.NETVOL = fieldAt(MasterGroupFieldIndex(n, kGroupNetVol)).asDouble();
        g.CULLPER = fieldAt(MasterGroupFieldIndex(n, kGroupCullPer)).asDouble();
    }
}

template <class FieldAt>
void CMaster::LoadSawlogs(const FieldAt& fieldAt, const std::string& defaultSawlogs) {
    const std::string sawlogs = fieldAt(kMasterSawlogs).asString();
    if (!sawlogs.empty())
        SAWLOGS = sawlogs[0];
    else if (!defaultSawlogs.empty())
        SAWLOGS = defaultSawlogs[0];
    else
        RangeError();
}

void CMaster::CopyFromMaster(const Record& record) {
    const RecordFields fieldAt{record};
    CopyHeaderFromMaster(fieldAt);
    CopyGroupsFromMaster(fieldAt);
}

void CMaster::CopyFromMaster(const MasterTable& table) {
    const TableFields fieldAt{table};
    CopyHeaderFromMaster(fieldAt);
    CopyGroupsFromMaster(fieldAt);
}

bool CMaster::LoadFromMaster(const Record& record, const std::string& defaultSawlogs) {
    const RecordFields fieldAt{record};
    CopyHeaderFromMaster(fieldAt);
    LoadSawlogs(fieldAt, defaultSawlogs);
    CopyGroupsFromMaster(fieldAt);
    return true;
}

bool CMaster::LoadFromMaster(const MasterTable& table, const std::string& defaultSawlogs) {
    const TableFields fieldAt{table};
    CopyHeaderFromMaster(fieldAt);
    LoadSawlogs(fieldAt, defaultSawlogs);
    CopyGroupsFromMaster(fieldAt);
    return true;
}

bool CMaster::LocateMaster(MasterTable& table, const std::string& millCode, int32_t loadNum,
                           int16_t pop) {
    return table.locate(millCode, loadNum, pop);
}

bool CMaster::PostToMaster(MasterTable& table) const {
    // Another process may post to the same file: the lookup of the key and
    // the write happen under one hold of its lock, on what is on disk then.
    BulkScope bulk(table.dataset());
    const bool found = LocateMaster(table, MILLCODE, LOAD_NUM, POP);
    table.post(ToMasterRecord(), MasterPostFieldOrder(), found);
    bulk.finish();
    return true;
}

void CMaster::WriteMasterAsciiLine(std::string& file, int firstGroup, double grossPerTree) const {
    AppendFormat(file, "%c%6d%-2.2s%3d%5ld%-20.20s%-10.10s%-4.4s%4s%-6.6s%2d%6d%-20.20s", 'M',
                 MILL_NUM, MILLCODE.c_str(), POP, static_cast<long>(LOAD_NUM % 100000),
                 LESSEE.c_str(), DISP.c_str(), SUBDISP.c_str(), BLOCK_NUM.c_str(),
                 YearMonth(WEIGH_DATE).c_str(), TOP_D, NET_WEIGHT, SOURCE.c_str());
    for (int n = firstGroup; n < firstGroup + 4; ++n) {
        const bool inRange = n >= 1 && n <= LoadSummary::kMaxGroups;
        AppendGroupBlock(file, inRange ? summary.groups[n - 1] : SummaryGroup{});
    }
    // "%4.0d%5.0f%c"
    AppendFormat(file, "%4.0d", summary.TOTALLOGS);
    AppendWhole(file, grossPerTree * 10000, 5);
    file += SAWLOGS;
    file += "\r\n";
}

void CMaster::WriteRecordLines(std::string& file) const {
    double grossTotal = 0.0;
    for (int n = 1; n <= summary.NUM_GROUPS; ++n)
        grossTotal += summary.groups[n - 1].GROSSVOL;
    const double grossPerTree = TREES != 0 ? grossTotal / TREES : 0.0;
    int lines = summary.NUM_GROUPS / 4;
    if (summary.NUM_GROUPS % 4 != 0 || lines == 0)
        ++lines;
    for (int j = 1; j <= lines; ++j)
        WriteMasterAsciiLine(file, 4 * (j - 1) + 1, grossPerTree);
}

bool CMaster::WriteMasterAscii(const std::string& fileName, MasterTable& table,
                               const std::string& defaultSawlogs, Prompt& prompt) {
    return WriteMasterAsciiOf(fileName, prompt, [&](const std::function<void()>& line) {
        table.forEachKeepingPlace([&] {
            ClearSummary();
            LoadFromMaster(table, defaultSawlogs);
            line();
        });
    });
}

bool CMaster::WriteMasterAscii(const std::string& fileName, MasterStore& store,
                               const std::string& defaultSawlogs, Prompt& prompt) {
    return WriteMasterAsciiOf(fileName, prompt, [&](const std::function<void()>& line) {
        store.forEach([&](const Record& record) {
            ClearSummary();
            LoadFromMaster(record, defaultSawlogs);
            line();
        });
    });
}

bool CMaster::WriteMasterAsciiOf(
    const std::string& fileName, Prompt& prompt,
    const std::function<void(const std::function<void()>&)>& forEachRecord) {
    std::unique_ptr<StagedFile> file;
    try {
        file = std::make_unique<StagedFile>(LocalFileName(fileName));
    } catch (const BrimloError&) {
        ShowUnableToWrite(fileName, prompt);
        return false;
    }
    std::string chunk;
    chunk.reserve(kAsciiChunk + 4096);
    try {
        forEachRecord([&] {
            WriteRecordLines(chunk);
            if (chunk.size() >= kAsciiChunk && !WriteChunk(*file, chunk, false))
                throw ChunkNotWritten{};
        });
        if (!WriteChunk(*file, chunk, true))
            throw ChunkNotWritten{};
    } catch (const ChunkNotWritten&) {
        ShowUnableToWrite(fileName, prompt);
        return false;
    }
    return true;
}

} // namespace brimlo
