#include "load/LoadFileWriter.h"

#include "LoadFileSamples.h"
#include "common/FileBytes.h"
#include "common/SampleLoad.h"
#include "common/ScriptedPrompt.h"
#include "common/TempDir.h"
#include "load/LoadFileReader.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace brimlo {
namespace {

using testing::ReadBytes;
using testing::ScriptedPrompt;
using testing::TempDir;

LogRecord ExampleLog() {
    LogRecord log;
    log.LOGNUM = 1;
    log.SPECIES = "S";
    log.CONDCODE = "GR";
    log.PRODCODE = "01";
    log.TOPD = 20;
    log.LENGTH = 50;
    log.GROSSVOL = 250;
    log.BUTTD = 26;
    log.LOAD_ID = 1;
    log.PROD_OVERRIDE = "N";
    return log;
}

// The record the sample header line holds: the worked example's header
// with the fields the line was typed with.
HeaderRecord ExampleHeader() {
    HeaderRecord h = testing::SampleHeader();
    h.LESSEE = "ACME TIMBER";
    h.MILL_NUM = 1234;
    h.LOAD_NUM = 123456;
    h.POP = 7;
    h.HTOPD = 10;
    h.NETWEIGHT = 12344.5;
    h.TM9 = "TM12345678";
    h.SOURCE = "";
    h.MILL_CODE = "A";
    h.LOAD_ID = 1;
    h.TREES = 25;
    h.SAWLOGS = "Y";
    h.DATEWEIGHED = Date::fromYmd(2006, 12, 15);
    h.SCALER_NAME = "J SMITH";
    h.SCALER_PERMIT = "P123";
    return h;
}

const std::string& kExampleHeaderLine = testing::kSampleHeaderLine;

TEST(LoadFileWriter, LogLineIsByteExact) {
    EXPECT_EQ(FormatLogLine(1, ExampleLog()),
              "0   1S GR01 20 50  0  0  0    250    0  26   1 0N  0\r\n");
}

TEST(LoadFileWriter, LogLineFieldsFillTheirColumns) {
    LogRecord log = ExampleLog();
    log.SPECIES = "SP";
    log.CONDCODE = "D";
    log.PRODCODE = "1";
    log.C1 = 5;
    log.C2 = 12;
    log.C3 = 100;
    log.CULL_TYPE = "2";
    log.CULL_METH = "4";
    log.GROSSVOL = 12345;
    log.CULLVOL = 678;
    log.BUTTD = 150;
    log.FLAG = "*";
    log.LOAD_ID = 999;
    log.DBH = 42;
    log.PROD_OVERRIDE = "Y";
    log.ACT_LENGTH = 745;
    EXPECT_EQ(FormatLogLine(2400, log), "02400SPD 1  20 50  5 121002412345  678 150*99942Y745\r\n");
}

TEST(LoadFileWriter, VolumesRoundHalvesToEven) {
    LogRecord log = ExampleLog();
    log.GROSSVOL = 250.5;
    log.CULLVOL = 3.5;
    const std::string line = FormatLogLine(1, log);
    EXPECT_EQ(line.substr(28, 5), "  250");
    EXPECT_EQ(line.substr(33, 5), "    4");
}

TEST(LoadFileWriter, EmptyOneCharacterFieldsPrintABlank) {
    LogRecord log = ExampleLog();
    log.PROD_OVERRIDE.clear();
    log.FLAG.clear();
    const std::string line = FormatLogLine(1, log);
    EXPECT_EQ(line[42], ' ');
    EXPECT_EQ(line[48], ' ');
}

TEST(LoadFileWriter, WiderValuesAreNotClipped) {
    LogRecord log = ExampleLog();
    log.GROSSVOL = 123456;
    EXPECT_EQ(FormatLogLine(1, log).size(), 55u);
}

// A value wider than its field would shift the rest of its line: refused,
// naming the field, and nothing is written.
TEST(LoadFileWriter, ValueTooWideForItsFieldIsRefused) {
    TempDir dir;
    LoadData load{ExampleHeader(), true, {ExampleLog()}};
    load.logs[0].GROSSVOL = 100000;
    ScriptedPrompt prompt;
    prompt.expect("Log 1: GROSSVOL 100000 does not fit its 5 characters in the load file");
    EXPECT_FALSE(WriteLoadFile(load, (dir / "load.txt").string(), prompt));
    EXPECT_TRUE(prompt.allExpectedShown());
    EXPECT_FALSE(std::filesystem::exists(dir / "load.txt"));
}

TEST(LoadFileWriter, HeaderLineIsByteExact) {
    ASSERT_EQ(kExampleHeaderLine.size(), 201u);
    EXPECT_EQ(FormatHeaderLine(ExampleHeader(), true), kExampleHeaderLine);
}

TEST(LoadFileWriter, HeaderTextsAreCutToTheirWidths) {
    HeaderRecord h = ExampleHeader();
    h.LESSEE = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    h.MILL_CODE = "XYZ";
    h.NETWEIGHT = 12345.5;
    const std::string line = FormatHeaderLine(h, false);
    ASSERT_EQ(line.size(), 201u);
    EXPECT_EQ(line.substr(1, 20), "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(line.substr(123, 2), "XY");
    EXPECT_EQ(line.substr(82, 6), " 12346");
    EXPECT_EQ(line[200], '0');
}

TEST(LoadFileWriter, CenturyOfShortDateIsDropped) {
    HeaderRecord h = ExampleHeader();
    h.DATEWEIGHED = Date::fromYmd(1999, 1, 2);
    h.LOAD_NUM = 42;
    const std::string line = FormatHeaderLine(h, false);
    EXPECT_EQ(line.substr(71, 6), "990102");
    EXPECT_EQ(line.substr(149, 8), "19990102");
    EXPECT_EQ(line.substr(66, 5), "   42");
    EXPECT_EQ(line.substr(168, 6), "    42");
}

TEST(LoadFileWriter, EmptyDateWritesTheEpochSoTheFileReadsBack) {
    HeaderRecord h = ExampleHeader();
    h.DATEWEIGHED = Date{};
    const std::string line = FormatHeaderLine(h, false);
    EXPECT_EQ(line.substr(71, 6), "991230");
    EXPECT_EQ(line.substr(149, 8), "18991230");
}

TEST(LoadFileWriter, BlankSpeciesLeavesAGapInPositions) {
    LoadData load;
    load.header = ExampleHeader();
    for (int i = 1; i <= 3; ++i) {
        LogRecord log = ExampleLog();
        log.LOGNUM = i;
        load.logs.push_back(log);
    }
    load.logs[1].SPECIES = " ";
    const std::string text = FormatLoadFile(load);
    const std::string first = "0   1S GR01 20 50  0  0  0    250    0  26   1 0N  0\r\n";
    const std::string third = "0   3S GR01 20 50  0  0  0    250    0  26   1 0N  0\r\n";
    std::string header = kExampleHeaderLine;
    header.back() = '0';
    EXPECT_EQ(text, first + third + header);
}

TEST(LoadFileWriter, LogsAreWrittenInLogNumberOrder) {
    LoadData load;
    load.header = ExampleHeader();
    LogRecord a = ExampleLog();
    a.LOGNUM = 7;
    a.TOPD = 30;
    LogRecord b = ExampleLog();
    b.LOGNUM = 3;
    load.logs = {a, b};
    const std::string text = FormatLoadFile(load);
    EXPECT_EQ(text.substr(0, 14), "0   1S GR01 20");
    EXPECT_EQ(text.substr(54, 14), "0   2S GR01 30");
}

TEST(LoadFileWriter, WritesTheFileAndReplacesAnOldOne) {
    TempDir dir;
    const auto path = dir / "AB070123.txt";
    std::ofstream(path) << "old contents that are longer than the new ones";
    LoadData load;
    load.header = ExampleHeader();
    load.logs = {ExampleLog()};
    load.trimAllowance = true;
    ScriptedPrompt prompt;
    ASSERT_TRUE(WriteLoadFile(load, path.string(), prompt));
    EXPECT_EQ(ReadBytes(path),
              "0   1S GR01 20 50  0  0  0    250    0  26   1 0N  0\r\n" + kExampleHeaderLine);
    // Nothing but the file itself is left in the directory.
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 1);
}

// The program holds a picked name as Windows-1252 text; the file is the one
// the file system lists under that name, and a file made by another program
// under such a name opens.
TEST(LoadFileWriter, AccentedNamesAreTheFilesTheSystemListsUnderThem) {
    TempDir dir;
    LoadData load;
    load.header = ExampleHeader();
    load.logs = {ExampleLog()};
    load.trimAllowance = true;
    const std::string held = dir.path().string() + "/Qu\xE9"
                                                   "bec.txt";
    ScriptedPrompt prompt;
    ASSERT_TRUE(WriteLoadFile(load, held, prompt));
    const std::filesystem::path listed = dir / "Qu\xC3\xA9"
                                               "bec.txt";
    EXPECT_EQ(ReadBytes(listed),
              "0   1S GR01 20 50  0  0  0    250    0  26   1 0N  0\r\n" + kExampleHeaderLine);

    std::filesystem::copy_file(listed, dir / "Scierie L\xC3\xA9vis.txt");
    const LoadFileReadResult back =
        ReadLoadFile(dir.path().string() + "/Scierie L\xE9vis.txt", prompt);
    ASSERT_TRUE(back.read);
    ASSERT_EQ(back.load.logs.size(), 1u);
    EXPECT_EQ(back.load.logs[0].TOPD, ExampleLog().TOPD);
}

TEST(LoadFileWriter, MissingDirectoryIsReportedAndNothingWritten) {
    TempDir dir;
    const std::string name = (dir / "nowhere" / "load.txt").string();
    ScriptedPrompt prompt;
    prompt.expect("Error: Unable to open file: " + name);
    LoadData load;
    EXPECT_FALSE(WriteLoadFile(load, name, prompt));
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.shown()[0].caption, "File Error");
    EXPECT_EQ(prompt.shown()[0].icon, PromptIcon::Error);
    EXPECT_FALSE(std::filesystem::exists(name));
}

TEST(LoadFileWriter, DirectoryIsNotReplaced) {
    TempDir dir;
    std::filesystem::create_directory(dir / "load.txt");
    ScriptedPrompt prompt;
    prompt.expect("Error: Unable to open file: " + (dir / "load.txt").string());
    EXPECT_FALSE(WriteLoadFile(LoadData{}, (dir / "load.txt").string(), prompt));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "load.txt"));
}

TEST(LoadFileWriter, ReadOnlyFileIsNotReplaced) {
    TempDir dir;
    const auto path = dir / "locked.txt";
    std::ofstream(path) << "keep";
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    if (std::ofstream(path, std::ios::app))
        GTEST_SKIP() << "running with rights that ignore file permissions";
    ScriptedPrompt prompt;
    prompt.expect("Error: Unable to open file: " + path.string());
    EXPECT_FALSE(WriteLoadFile(LoadData{}, path.string(), prompt));
    EXPECT_EQ(ReadBytes(path), "keep");
}

} // namespace
} // namespace brimlo
