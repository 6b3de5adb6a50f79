#include "load/LoadFileReader.h"

#include "LoadFileSamples.h"
#include "common/ErrorText.h"
#include "common/ScriptedPrompt.h"
#include "common/TempDir.h"
#include "load/LoadFileLines.h"
#include "support/BrimloError.h"

#include <fstream>
#include <gtest/gtest.h>
#include <map>

namespace brimlo::testing {
namespace {

constexpr auto* LogWith = &testing::SampleLogWith;

const std::string& kLog = testing::kSampleLogLine;
const std::string& kHead = testing::kSampleHeaderLine;
const std::string kFormatError = "Unable to complete loading log data due to file format error.";
const std::string kAlbertaQuestion =
    "Calculations for this file were done using the Alberta Cubic Meter Rule.\n"
    "Would you like to convert this load to the Smalian's formula method?";

LoadFileReadResult Read(const std::string& text) {
    InstalledPrompt prompt;
    return ReadLoadText(text, "load.txt", prompt);
}

TEST(LoadFileReader, ReadsTheSampleAsItStands) {
    const LoadFileReadResult r = Read(kLog + kHead);
    ASSERT_TRUE(r.read);
    EXPECT_EQ(r.load.logs, std::vector{testing::SampleLogRecord()});
    EXPECT_EQ(r.load.header, testing::HeaderAsRead(testing::SampleHeaderRecord()));
    EXPECT_TRUE(r.load.hasHeader && r.load.trimAllowance);
    EXPECT_FALSE(r.volumesRecomputed || r.hideTrimAllowance);
}

// The fields the cases below look at, as text.
std::string Field(const LoadFileReadResult& r, const std::string& name) {
    const HeaderRecord& h = r.load.header;
    const LogRecord& log = r.load.logs.at(0);
    using std::to_string;
    std::string numbers;
    for (const LogRecord& l : r.load.logs)
        numbers += to_string(l.LOGNUM) + " ";
    int y = 0, m = 0, d = 0;
    h.DATEWEIGHED.toYmd(y, m, d);
    const std::map<std::string, std::string> fields = {
        {"LOAD_NUM", to_string(h.LOAD_NUM)},
        {"TM9", h.TM9},
        {"SAWLOGS", h.SAWLOGS},
        {"SCALER_NAME", h.SCALER_NAME},
        {"SCALER_PERMIT", h.SCALER_PERMIT},
        {"VOL_CALC_METH", h.VOL_CALC_METH},
        {"DATEWEIGHED", to_string(y) + "/" + to_string(m) + "/" + to_string(d)},
        {"trim", r.load.trimAllowance ? "on" : "off"},
        {"numbers", numbers},
        {"logs", to_string(r.load.logs.size()) + (r.load.hasHeader ? " and a header" : "")},
        {"recomputed", r.volumesRecomputed ? "yes" : "no"},
        {"GROSSVOL", to_string(log.GROSSVOL)},
        {"TOPD", to_string(log.TOPD)},
        {"PROD_OVERRIDE", log.PROD_OVERRIDE},
        {"ACT_LENGTH", (log.hasActLength ? "" : "none ") + to_string(log.ACT_LENGTH)},
        {"LOAD_ID/DBH", to_string(log.LOAD_ID) + "/" + to_string(log.DBH)},
        {"cull", to_string(log.C1) + "/" + to_string(log.C2) + "/" + to_string(log.C3) + "/" +
                     log.CULL_TYPE + "/" + log.CULL_METH},
    };
    return fields.at(name);
}

// The line end counts in a line's length: a field is read only when the
// line reaches it.
TEST(LoadFileReader, FieldsAreReadFromTheirPositions) {
    const std::string override = LogWith(49, "Y"), act = LogWith(50, "612"),
                      dbh = LogWith(47, "42");
    const std::string shortDate = SampleHeaderWith(72, "991231");
    std::string lineFeedOnly = kLog;
    lineFeedOnly.erase(lineFeedOnly.size() - 2, 1);
    const std::string longLog = kLog.substr(0, 52) + std::string(120, ' ');
    // 1023 characters go in one read; the rest of the line is a second one.
    const std::string piece = "0" + std::string(1022, ' ');
    // Log lines of 44 characters with their line end are too short, as are
    // empty lines and logs without species; 45 characters are read.
    const std::string skipped = kLog.substr(0, 43) + "\r\n\r\n" + LogWith(6, "  ") +
                                LogWith(12, " 30") + kLog.substr(0, 44) + "\r\n" + kHead;
    const struct {
        std::string text;
        const char* field;
        const char* expected;
    } cases[] = {
        {override.substr(0, 48) + "\r\n" + kHead, "PROD_OVERRIDE", "N"},
        {override.substr(0, 49) + "\r\n" + kHead, "PROD_OVERRIDE", "Y"},
        {act + kHead, "ACT_LENGTH", "612"},
        {act.substr(0, 51) + "\r\n" + kHead, "ACT_LENGTH", "none 0"},
        {dbh.substr(0, 45) + "\r\n" + kHead, "LOAD_ID/DBH", "0/0"}, // the id's digit is at 46
        {dbh.substr(0, 46) + "\r\n" + kHead, "LOAD_ID/DBH", "1/0"},
        {dbh.substr(0, 47) + "\r\n" + kHead, "LOAD_ID/DBH", "1/4"}, // only 47 before the end
        {dbh.substr(0, 48) + "\r\n" + kHead, "LOAD_ID/DBH", "1/42"},
        {LogWith(18, "  5 12  725") + kHead, "cull", "5/12/7/2/5"},
        {kLog + shortDate.substr(0, 149) + "\r\n", "DATEWEIGHED", "1999/12/31"},
        {kLog + SampleHeaderUpTo(149) + "\r\n", "DATEWEIGHED", "2006/12/15"},
        {kLog + SampleHeaderWith(72, "890101").substr(0, 149) + "\r\n", "DATEWEIGHED", "2089/1/1"},
        {kLog + std::string(shortDate).replace(149, 8, "        "), "DATEWEIGHED", "1999/12/31"},
        {kLog + std::string(shortDate).replace(149, 8, " 2006121"), "DATEWEIGHED", "1999/12/31"},
        {kLog + SampleHeaderWith(150, "19870704"), "DATEWEIGHED", "1987/7/4"},
        {kLog + SampleHeaderWith(168, "X"), "VOL_CALC_METH", "S"},
        {kLog + SampleHeaderWith(168, "X"), "GROSSVOL", "250.000000"},
        {kLog + SampleHeaderWith(168, "X"), "recomputed", "no"},
        {kLog + SampleHeaderUpTo(149) + "\r\n", "SAWLOGS", "Y"},
        {kLog + SampleHeaderUpTo(149) + "\r\n", "LOAD_NUM", "23456"},
        {kLog + SampleHeaderUpTo(168) + "\n", "LOAD_NUM", "23456"},
        {kLog + SampleHeaderUpTo(169) + "\n", "LOAD_NUM", "1"},
        {kLog + SampleHeaderUpTo(170) + "\n", "LOAD_NUM", "12"},
        {kLog + SampleHeaderUpTo(175), "SCALER_NAME", ""},
        {kLog + SampleHeaderUpTo(176), "SCALER_NAME", "J "},
        {kLog + SampleHeaderUpTo(195), "SCALER_PERMIT", ""},
        {kLog + SampleHeaderUpTo(200), "SCALER_PERMIT", "P123  "},
        {kLog + SampleHeaderUpTo(200), "trim", "off"},
        {kLog + SampleHeaderWith(201, "0"), "trim", "off"},
        {kLog + SampleHeaderUpTo(149) + "\r\n", "TM9", "TM12345"},
        {kLog + SampleHeaderWith(158, "          "), "TM9", "TM12345"},
        {kLog + SampleHeaderUpTo(158), "TM9", "TM12345"},
        {kLog + SampleHeaderUpTo(159), "TM9", "TM"},
        {lineFeedOnly + lineFeedOnly + kHead, "logs", "2 and a header"},
        {lineFeedOnly + kHead, "ACT_LENGTH", "0"},
        {kLog + kHead + "\r\n" + kLog + "garbage", "logs", "1 and a header"},
        {kLog + kHead + "\r\n" + kLog + "garbage", "trim", "on"},
        {kLog + longLog, "logs", "2"}, // no record letter: no header
        {kLog + piece + kHead, "logs", "1 and a header"},
        {kLog + piece + kHead, "LOAD_NUM", "123456"},
        {LogWith(2, "   7") + LogWith(2, "   3") + LogWith(2, "9999") + kHead, "numbers", "1 2 3 "},
        {skipped, "numbers", "1 2 "},
        {skipped, "TOPD", "30"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const LoadFileReadResult r = Read(c.text);
        ASSERT_TRUE(r.read);
        EXPECT_EQ(Field(r, c.field), c.expected) << c.field;
    }
}

TEST(LoadFileReader, HeaderWithoutMethodIsRecomputedBySmalian) {
    // Butt 26, top 20, length 5.0 m: 133 + 79 litres. The second log's 30
    // litres of cull at 10 percent become 21 of the new 212 litres; the
    // first has no cull to recompute.
    const std::string culled = LogWith(18, " 10  0  033").replace(28, 10, "  999   30");
    const std::string text = kLog + culled + SampleHeaderUpTo(167) + "\r\n";
    const LoadFileReadResult r = Read(text);
    ASSERT_TRUE(r.read);
    EXPECT_TRUE(r.volumesRecomputed);
    EXPECT_EQ(r.load.header.VOL_CALC_METH, "S");
    EXPECT_EQ(r.load.logs[0].GROSSVOL, 212.0);
    EXPECT_EQ(r.load.logs[0].CULLVOL, 0.0);
    EXPECT_EQ(r.load.logs[1].GROSSVOL, 212.0);
    EXPECT_EQ(r.load.logs[1].CULLVOL, 21.0);
}

TEST(LoadFileReader, AlbertaLoadIsConvertedOnlyWhenTheUserSaysYes) {
    for (const PromptAnswer answer : {PromptAnswer::No, PromptAnswer::Yes}) {
        const bool yes = answer == PromptAnswer::Yes;
        ScriptedPrompt prompt;
        prompt.expect(kAlbertaQuestion, answer);
        const LoadFileReadResult r = Read(kLog + SampleHeaderWith(168, "A"));
        EXPECT_EQ(prompt.shown().at(0).caption, "Alberta Cubic Meter Rule Load Selected");
        EXPECT_EQ(prompt.shown()[0].icon, PromptIcon::Information);
        EXPECT_EQ(prompt.shown()[0].buttons, PromptButtons::YesNo);
        EXPECT_EQ(r.load.header.VOL_CALC_METH, yes ? "S" : "A");
        EXPECT_EQ(r.load.logs[0].GROSSVOL, yes ? 212.0 : 250.0);
        EXPECT_EQ(r.volumesRecomputed, yes);
        EXPECT_EQ(r.convertedToSmalian, yes);
        EXPECT_EQ(r.hideTrimAllowance, !yes);
    }
}

TEST(LoadFileReader, FilesWithoutAWholeHeaderFail) {
    for (const std::string& text : {std::string(), kLog, kLog + SampleHeaderUpTo(148) + "\r\n",
                                    std::string("3\r\n"), kLog + "3short header\r\n"}) {
        SCOPED_TRACE(text);
        ScriptedPrompt prompt;
        prompt.expect(kFormatError);
        const LoadFileReadResult r = Read(text);
        EXPECT_FALSE(r.read);
        EXPECT_EQ(prompt.shown().back().caption, "File Format Error");
        EXPECT_EQ(prompt.shown().back().icon, PromptIcon::Error);
    }
}

TEST(LoadFileReader, BadFieldsRaiseAnErrorNamingFileAndLine) {
    std::string full;
    for (int i = 0; i < kMaxLogs; ++i)
        full += kLog;
    EXPECT_EQ(Read(full + kHead).load.logs.size(), 2400u);
    const struct {
        std::string text, line, field;
    } cases[] = {
        {kLog + LogWith(12, " 2x") + kHead, "line 2", "2x"},
        {kLog + LogWith(29, "12.50") + kHead, "line 2", "12.50"},
        {kLog + LogWith(39, "- 26") + kHead, "line 2", "BUTTD"},
        {kLog + SampleHeaderWith(78, "x7 "), "line 2", "POP"},
        {kLog + SampleHeaderWith(56, "1234   "), "line 2", "MILL_NUM"},
        {kLog + SampleHeaderWith(150, "20061315"), "line 2", "2006/13/15"},
        {kLog + SampleHeaderWith(72, "990230").substr(0, 149) + "\n", "line 2", "1999/2/30"},
        {full + kLog + kHead, "line 2401", "The maximum number of logs allowed is 2400"},
    };
    for (const auto& c : cases) {
        const std::string error = testing::ErrorText([&] { Read(c.text); });
        for (const std::string& part : {std::string("'load.txt'"), c.line, c.field})
            EXPECT_NE(error.find(part), std::string::npos) << error;
    }
}

TEST(LoadFileReader, FilesOnDiskThatCannotBeReadAreReported) {
    testing::TempDir dir;
    const std::string name = (dir / "missing.txt").string(), empty = (dir / "empty.txt").string();
    std::ofstream(empty, std::ios::binary).flush();
    ScriptedPrompt prompt;
    prompt.expect("Error: Unable to open file: '" + name + "'");
    EXPECT_FALSE(ReadLoadFile(name, prompt).read);
    EXPECT_EQ(prompt.shown().at(0).caption, "File Error");
    prompt.expect("Error: Unable to open file: '" + dir.path().string() + "'");
    EXPECT_FALSE(ReadLoadFile(dir.path().string(), prompt).read);
    prompt.expect(kFormatError);
    EXPECT_FALSE(ReadLoadFile(empty, prompt).read);
}

// A line end counts as one character of its line; a read takes at most
// 1023 characters, so a longer line comes in pieces.
TEST(LoadFileLines, LineEndsCountAndLongLinesComeInPieces) {
    const auto lines = SplitLoadFileLines("abc\r\nde\n" + std::string(1022, 'x') + "\r\n" +
                                          std::string(1023, 'y') + "\r\nfgh");
    const std::pair<std::string, std::size_t> expected[] = {
        {"abc", 4}, {"de", 3}, {std::string(1022, 'x'), 1023}, {std::string(1023, 'y'), 1023},
        {"", 1},    {"fgh", 3}};
    ASSERT_EQ(lines.size(), std::size(expected));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].text, expected[i].first) << i;
        EXPECT_EQ(lines[i].length, expected[i].second) << i;
    }
    EXPECT_EQ(lines[5].number, 6u);
    EXPECT_TRUE(SplitLoadFileLines("").empty());
}

TEST(LoadFileLines, CharactersStopAtTheLineEnd) {
    const auto lines = SplitLoadFileLines("0123456789\n");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].chars(2, 4), "123");
    EXPECT_EQ(lines[0].chars(9, 12), "89");
    EXPECT_EQ(lines[0].chars(11, 12), "");
    EXPECT_EQ(lines[0].at(10), '9');
    EXPECT_EQ(lines[0].at(11), '\0');
}

} // namespace
} // namespace brimlo::testing
