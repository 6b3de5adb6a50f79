#include "load/LoadFileWriter.h"

#include "LoadFileSamples.h"
#include "common/FileBytes.h"
#include "common/ScriptedPrompt.h"
#include "common/TempDir.h"
#include "load/LoadFileReader.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>

namespace brimlo::testing {
namespace {

LoadData SampleData() {
    return LoadData{SampleHeaderRecord(), true, {SampleLogRecord()}, true};
}

TEST(LoadFileWriter, LogLinesAreByteExact) {
    const LogRecord full{2,   "SP",  "D", "1", 20,  50,  5,  12,  100, "2",
                         "4", 12345, 678, 150, "*", 999, 42, "Y", 745};
    LogRecord halves = SampleLogRecord(); // rounded half to even; empty flags print a blank
    halves.GROSSVOL = 250.5;
    halves.CULLVOL = 3.5;
    halves.FLAG.clear();
    halves.PROD_OVERRIDE.clear();
    LogRecord wide = SampleLogRecord(); // shifts its line rather than lose digits
    wide.GROSSVOL = 123456;
    const struct {
        int number;
        LogRecord log;
        std::string line;
    } cases[] = {
        {1, SampleLogRecord(), kSampleLogLine},
        {2400, full, "02400SPD 1  20 50  5 121002412345  678 150*99942Y745\r\n"},
        {1, halves, "0   1S GR01 20 50  0  0  0    250    4  26   1 0   0\r\n"},
        {1, wide, "0   1S GR01 20 50  0  0  0  123456    0  26   1 0N  0\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatLogLine(c.number, c.log), c.line);
}

TEST(LoadFileWriter, HeaderLinesAreByteExact) {
    const struct {
        void (*change)(HeaderRecord&);
        std::vector<std::pair<std::size_t, std::string>> patches; // of the sample line
    } cases[] = {
        {[](HeaderRecord&) {}, {}},
        {[](HeaderRecord& h) { // texts cut to their widths
             h.LESSEE = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
             h.MILL_CODE = "XYZ";
             h.NETWEIGHT = 12345.5;
         },
         {{2, "ABCDEFGHIJKLMNOPQRST"}, {124, "XY"}, {83, " 12346"}}},
        {[](HeaderRecord& h) { // the short date drops the century
             h.DATEWEIGHED = Date::fromYmd(1999, 1, 2);
             h.LOAD_NUM = 42;
         },
         {{72, "990102"}, {150, "19990102"}, {67, "   42"}, {169, "    42"}}},
        // An empty date writes the epoch, so that the file reads back.
        {[](HeaderRecord& h) { h.DATEWEIGHED = Date{}; }, {{72, "991230"}, {150, "18991230"}}},
    };
    for (const auto& c : cases) {
        HeaderRecord h = SampleHeaderRecord();
        c.change(h);
        std::string expected = kSampleHeaderLine;
        for (const auto& [pos, text] : c.patches)
            expected.replace(pos - 1, text.size(), text);
        EXPECT_EQ(FormatHeaderLine(h, true), expected);
        EXPECT_EQ(FormatHeaderLine(h, false), expected.substr(0, 200) + "0");
    }
}

// A value wider than its field would shift the rest of its line: refused,
// naming the field, and nothing is written.
TEST(LoadFileWriter, ValueTooWideForItsFieldIsRefused) {
    TempDir dir;
    LoadData load = SampleData();
    load.logs[0].GROSSVOL = 100000;
    ScriptedPrompt prompt;
    prompt.expect("Log 1: GROSSVOL 100000 does not fit its 5 characters in the load file");
    EXPECT_FALSE(WriteLoadFile(load, (dir / "load.txt").string(), prompt));
    EXPECT_FALSE(std::filesystem::exists(dir / "load.txt"));
}

// Logs go out in number order, renumbered; a blank species leaves a gap.
TEST(LoadFileWriter, LogsAreWrittenInNumberOrderWithoutBlankSpecies) {
    LoadData load = SampleData();
    load.trimAllowance = false;
    load.logs.resize(4, SampleLogRecord());
    load.logs[0].LOGNUM = 7;
    load.logs[0].TOPD = 30;
    load.logs[1].LOGNUM = 3;
    load.logs[2].LOGNUM = 5;
    load.logs[2].SPECIES = " ";
    EXPECT_EQ(FormatLoadFile(load), kSampleLogLine + testing::SampleLogWith(2, "   2") +
                                        testing::SampleLogWith(2, "   4").replace(11, 3, " 30") +
                                        SampleHeaderWith(201, "0"));
}

// The program holds a picked name as Windows-1252 text; the file written is
// the one the file system lists under that name, an old one is replaced with
// nothing left beside it, and a file made by another program under such a
// name opens.
TEST(LoadFileWriter, WritesTheFileTheSystemListsUnderItsName) {
    TempDir dir;
    const std::filesystem::path listed = dir / "Qu\xC3\xA9"
                                               "bec.txt";
    std::ofstream(listed) << "old contents that are longer than the new ones";
    ScriptedPrompt prompt;
    ASSERT_TRUE(WriteLoadFile(SampleData(),
                              dir.path().string() + "/Qu\xE9"
                                                    "bec.txt",
                              prompt));
    EXPECT_EQ(ReadBytes(listed), kSampleLogLine + kSampleHeaderLine);
    const auto entries = std::filesystem::directory_iterator(dir.path());
    EXPECT_EQ(std::distance(begin(entries), end(entries)), 1);
    std::filesystem::copy_file(listed, dir / "Scierie L\xC3\xA9vis.txt");
    const LoadFileReadResult back =
        ReadLoadFile(dir.path().string() + "/Scierie L\xE9vis.txt", prompt);
    ASSERT_TRUE(back.read);
    EXPECT_EQ(back.load.logs, std::vector{SampleLogRecord()});
}

// A missing directory, a directory under the name, a read-only file: each
// is reported and left as it was.
TEST(LoadFileWriter, UnwritableTargetsAreReportedAndLeftAlone) {
    TempDir dir;
    const auto locked = dir / "locked.txt";
    std::ofstream(locked) << "keep";
    std::filesystem::permissions(locked, std::filesystem::perms::owner_read);
    const bool permissionsHold = !std::ofstream(locked, std::ios::app);
    std::filesystem::create_directory(dir / "load.txt");
    for (const auto& path : {dir / "nowhere" / "load.txt", dir / "load.txt", locked}) {
        if (path == locked && !permissionsHold)
            continue; // running with rights that ignore file permissions
        SCOPED_TRACE(path);
        ScriptedPrompt prompt;
        prompt.expect("Error: Unable to open file: " + path.string());
        EXPECT_FALSE(WriteLoadFile(SampleData(), path.string(), prompt));
        EXPECT_EQ(prompt.shown().back().caption, "File Error");
        EXPECT_EQ(prompt.shown().back().icon, PromptIcon::Error);
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "nowhere"));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "load.txt"));
    EXPECT_EQ(ReadBytes(locked), "keep");
}

class RandomLoad {
public:
    explicit RandomLoad(unsigned seed) : rng_(seed) {}

    LoadData make() {
        LoadData load;
        load.header = header();
        const int count = between(0, 80);
        for (int i = 0; i < count; ++i)
            load.logs.push_back(log(i + 1));
        load.trimAllowance = between(0, 1) == 1;
        return load;
    }

private:
    int between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

    // Letters, digits, blanks and a few Windows-1252 letters; never a line end.
    std::string text(int maxLength) {
        static const std::string chars = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcxyz0123456789 -.'/"
                                         "\xE9\xC9\xF1";
        std::string s(static_cast<std::size_t>(between(0, maxLength)), ' ');
        for (char& c : s)
            c = chars[static_cast<std::size_t>(between(0, static_cast<int>(chars.size()) - 1))];
        return s;
    }

    std::string code(int maxLength) {
        return between(0, 9) == 0 ? std::string(" ", static_cast<std::size_t>(between(0, 1)))
                                  : text(maxLength);
    }

    // Codes as the selectors and the header edits give them: no blank at
    // either end (a code is stored trimmed, so only those come back as they
    // were written).
    std::string trimmedCode(int maxLength) { return Stripped(code(maxLength)); }

    int16_t small(int lo, int hi) { return static_cast<int16_t>(between(lo, hi)); }
    Date date() { return Date::fromYmd(between(1900, 2099), between(1, 12), between(1, 28)); }
    double withHalves(int hi) { return between(0, hi) + (between(0, 3) == 0 ? 0.5 : 0.0); }

    // Every field in the order the record declares them (a braced list is
    // evaluated in order, so the draws come in that order too).
    HeaderRecord header() {
        // clang-format off
        return HeaderRecord{text(24), text(20), text(10), text(4), between(0, 9999999), text(4),
                            between(0, 999999), small(0, 999), small(0, 76), withHalves(999999),
                            text(10), trimmedCode(2), trimmedCode(2), trimmedCode(2), text(20),
                            trimmedCode(2), small(0, 999), small(0, 9999), code(1), date(),
                            "S", text(20), text(6)};
        // clang-format on
    }

    // Numbered with gaps, as deletions leave them.
    LogRecord log(int32_t number) {
        return LogRecord{
            number * 3,       trimmedCode(2), trimmedCode(2),  trimmedCode(2),
            small(0, 76),     small(0, 72),   small(-99, 999), small(0, 999),
            small(0, 999),    code(1),        code(1),         double(between(0, 99999)),
            withHalves(9999), small(0, 150),  code(1),         small(0, 999),
            small(0, 99),     code(1),        small(0, 745)};
    }

    std::mt19937 rng_;
};

std::vector<LogRecord> ExpectedLogs(const std::vector<LogRecord>& in) {
    std::vector<LogRecord> out;
    for (const LogRecord& l : in) {
        if (Stripped(l.SPECIES).empty())
            continue;
        LogRecord e = l;
        e.LOGNUM = static_cast<int32_t>(out.size()) + 1;
        e.SPECIES = Stripped(Padded(l.SPECIES, 2));
        e.CONDCODE = Stripped(Padded(l.CONDCODE, 2));
        e.PRODCODE = Stripped(Padded(l.PRODCODE, 2));
        e.CULL_TYPE = Stripped(OneChar(l.CULL_TYPE));
        e.CULL_METH = Stripped(OneChar(l.CULL_METH));
        e.FLAG = OneChar(l.FLAG);
        e.PROD_OVERRIDE = OneChar(l.PROD_OVERRIDE);
        e.GROSSVOL = std::nearbyint(l.GROSSVOL);
        e.CULLVOL = std::nearbyint(l.CULLVOL);
        e.hasActLength = true;
        out.push_back(e);
    }
    return out;
}

TEST(LoadFileRoundTrip, RandomLoadsComeBackAsWritten) {
    ScriptedPrompt prompt; // no box may show
    for (unsigned seed = 1; seed <= 300; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        const LoadData load = RandomLoad(seed).make();
        const std::string bytes = FormatLoadFile(load);
        const LoadFileReadResult r = ReadLoadText(bytes, "random.txt", prompt);
        ASSERT_TRUE(r.read);
        ASSERT_TRUE(r.load.hasHeader);
        EXPECT_EQ(r.load.header, HeaderAsRead(load.header));
        EXPECT_EQ(r.load.logs, ExpectedLogs(load.logs));
        EXPECT_EQ(r.load.trimAllowance, load.trimAllowance);
        EXPECT_FALSE(r.volumesRecomputed);
        // What was read writes the very same bytes again, but for the gaps
        // in the position numbers, which renumbering closes.
        LoadData renumbered = load;
        std::erase_if(renumbered.logs,
                      [](const LogRecord& l) { return Stripped(l.SPECIES).empty(); });
        EXPECT_EQ(FormatLoadFile(r.load), FormatLoadFile(renumbered));
    }
}

} // namespace
} // namespace brimlo::testing
