#include "load/LoadFileWriter.h"

#include "LoadFileSamples.h"
#include "common/FileBytes.h"
#include "common/ScriptedPrompt.h"
#include "common/TempDir.h"
#include "load/LoadFileReader.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace brimlo {
namespace {

using testing::kSampleHeaderLine;
using testing::kSampleLogLine;
using testing::ReadBytes;
using testing::SampleHeaderRecord;
using testing::SampleHeaderWith;
using testing::SampleLogRecord;
using testing::ScriptedPrompt;
using testing::TempDir;

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
    EXPECT_TRUE(prompt.allExpectedShown());
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

TEST(LoadFileWriter, WritesTheFileAndReplacesAnOldOne) {
    TempDir dir;
    const auto path = dir / "AB070123.txt";
    std::ofstream(path) << "old contents that are longer than the new ones";
    ScriptedPrompt prompt;
    ASSERT_TRUE(WriteLoadFile(SampleData(), path.string(), prompt));
    EXPECT_EQ(ReadBytes(path), kSampleLogLine + kSampleHeaderLine);
    // Nothing but the file itself is left in the directory.
    const auto entries = std::filesystem::directory_iterator(dir.path());
    EXPECT_EQ(std::distance(begin(entries), end(entries)), 1);
}

// The program holds a picked name as Windows-1252 text; the file is the one
// the file system lists under that name, and a file made by another program
// under such a name opens.
TEST(LoadFileWriter, AccentedNamesAreTheFilesTheSystemListsUnderThem) {
    TempDir dir;
    ScriptedPrompt prompt;
    ASSERT_TRUE(WriteLoadFile(SampleData(),
                              dir.path().string() + "/Qu\xE9"
                                                    "bec.txt",
                              prompt));
    const std::filesystem::path listed = dir / "Qu\xC3\xA9"
                                               "bec.txt";
    EXPECT_EQ(ReadBytes(listed), kSampleLogLine + kSampleHeaderLine);
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
        ASSERT_EQ(prompt.shown().size(), 1u);
        EXPECT_EQ(prompt.shown()[0].caption, "File Error");
        EXPECT_EQ(prompt.shown()[0].icon, PromptIcon::Error);
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "nowhere"));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "load.txt"));
    EXPECT_EQ(ReadBytes(locked), "keep");
}

} // namespace
} // namespace brimlo
