#include "load/LoadFileReader.h"

#include "LoadFileSamples.h"
#include "common/ScriptedPrompt.h"
#include "common/TempDir.h"
#include "load/LoadFileWriter.h"
#include "support/BrimloError.h"

#include <fstream>
#include <gtest/gtest.h>

namespace brimlo {
namespace {

using testing::InstalledPrompt;
using testing::kSampleHeaderLine;
using testing::kSampleLogLine;
using testing::SampleHeaderUpTo;
using testing::SampleHeaderWith;
using testing::ScriptedPrompt;

const std::string kFormatError = "Unable to complete loading log data due to file format error.";
const std::string kAlbertaQuestion =
    "Calculations for this file were done using the Alberta Cubic Meter Rule.\n"
    "Would you like to convert this load to the Smalian's formula method?";

// A log line of the sample with its text replaced from position pos.
std::string LogWith(std::size_t pos, const std::string& text) {
    std::string line = kSampleLogLine;
    line.replace(pos - 1, text.size(), text);
    return line;
}

// The first n characters of the sample log line, then a line end, so that
// the reader counts n + 1 characters.
std::string LogCut(std::size_t n) {
    return kSampleLogLine.substr(0, n) + "\r\n";
}

LoadFileReadResult Read(const std::string& text) {
    InstalledPrompt prompt;
    return ReadLoadText(text, "load.txt", prompt);
}

TEST(LoadFileReader, ReadsTheSampleLogAsItStands) {
    const LoadFileReadResult r = Read(kSampleLogLine + kSampleHeaderLine);
    ASSERT_TRUE(r.read);
    ASSERT_EQ(r.load.logs.size(), 1u);
    const LogRecord& log = r.load.logs[0];
    EXPECT_EQ(log.LOGNUM, 1);
    EXPECT_EQ(log.SPECIES, "S");
    EXPECT_EQ(log.CONDCODE, "GR");
    EXPECT_EQ(log.PRODCODE, "01");
    EXPECT_EQ(log.TOPD, 20);
    EXPECT_EQ(log.LENGTH, 50);
    EXPECT_EQ(log.C1, 0);
    EXPECT_EQ(log.CULL_TYPE, "");
    EXPECT_EQ(log.CULL_METH, "");
    EXPECT_EQ(log.GROSSVOL, 250.0);
    EXPECT_EQ(log.CULLVOL, 0.0);
    EXPECT_EQ(log.BUTTD, 26);
    EXPECT_EQ(log.FLAG, " ");
    EXPECT_EQ(log.LOAD_ID, 1);
    EXPECT_EQ(log.DBH, 0);
    EXPECT_EQ(log.PROD_OVERRIDE, "N");
    EXPECT_TRUE(log.hasActLength);
    EXPECT_EQ(log.ACT_LENGTH, 0);
}

TEST(LoadFileReader, ReadsTheSampleHeaderWithItsBlanks) {
    const LoadFileReadResult r = Read(kSampleLogLine + kSampleHeaderLine);
    ASSERT_TRUE(r.read);
    ASSERT_TRUE(r.load.hasHeader);
    const HeaderRecord& h = r.load.header;
    EXPECT_EQ(h.LESSEE, "ACME TIMBER         ");
    EXPECT_EQ(h.MILL_NAME, "NORTH MILL          ");
    EXPECT_EQ(h.DISP, "CTL       ");
    EXPECT_EQ(h.SUBDISP, "A1  ");
    EXPECT_EQ(h.MILL_NUM, 1234);
    EXPECT_EQ(h.BLOCK_NUM, "  12");
    EXPECT_EQ(h.LOAD_NUM, 123456);
    EXPECT_EQ(h.POP, 7);
    EXPECT_EQ(h.HTOPD, 10);
    EXPECT_EQ(h.NETWEIGHT, 12344.0);
    EXPECT_EQ(h.TM9, "TM12345678");
    EXPECT_EQ(h.HSPECIES, "S");
    EXPECT_EQ(h.HCONDCODE, "GR");
    EXPECT_EQ(h.HPRODCODE, "01");
    EXPECT_EQ(h.SOURCE, std::string(20, ' '));
    EXPECT_EQ(h.MILL_CODE, "A");
    EXPECT_EQ(h.LOAD_ID, 1);
    EXPECT_EQ(h.TREES, 25);
    EXPECT_EQ(h.SAWLOGS, "Y");
    EXPECT_EQ(h.DATEWEIGHED, Date::fromYmd(2006, 12, 15));
    EXPECT_EQ(h.VOL_CALC_METH, "S");
    EXPECT_EQ(h.SCALER_NAME, "J SMITH             ");
    EXPECT_EQ(h.SCALER_PERMIT, "P123  ");
    EXPECT_TRUE(r.load.trimAllowance);
    EXPECT_FALSE(r.volumesRecomputed);
    EXPECT_FALSE(r.hideTrimAllowance);
}

TEST(LoadFileReader, LogsAreRenumberedInFileOrder) {
    const std::string text =
        LogWith(2, "   7") + LogWith(2, "   3") + LogWith(2, "9999") + kSampleHeaderLine;
    const LoadFileReadResult r = Read(text);
    ASSERT_EQ(r.load.logs.size(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(r.load.logs[i].LOGNUM, i + 1);
}

TEST(LoadFileReader, ShortLinesAndBlankSpeciesAreSkipped) {
    const std::string text = LogCut(43)           // 44 with its line end: too short
                             + "\r\n"             // empty line
                             + LogWith(6, "  ")   // no species
                             + LogWith(12, " 30") // read
                             + LogCut(44)         // 45: read
                             + kSampleHeaderLine;
    const LoadFileReadResult r = Read(text);
    ASSERT_TRUE(r.read);
    ASSERT_EQ(r.load.logs.size(), 2u);
    EXPECT_EQ(r.load.logs[0].TOPD, 30);
    EXPECT_EQ(r.load.logs[1].LOGNUM, 2);
}

TEST(LoadFileReader, ShortLogLinesTakeDefaultsForTheirMissingFields) {
    const std::string withDbh = LogWith(47, "42Y");
    for (std::size_t n = 44; n <= 51; ++n) {
        SCOPED_TRACE("line of " + std::to_string(n + 1) + " characters");
        const std::string line = withDbh.substr(0, n) + "\r\n";
        const LoadFileReadResult r = Read(line + kSampleHeaderLine);
        ASSERT_EQ(r.load.logs.size(), 1u);
        const LogRecord& log = r.load.logs[0];
        if (n + 1 < 48)
            EXPECT_EQ(log.DBH, 0);
        else if (n + 1 == 48)
            EXPECT_EQ(log.DBH, 4); // only position 47 precedes the line end
        else
            EXPECT_EQ(log.DBH, 42);
        EXPECT_EQ(log.PROD_OVERRIDE, n + 1 < 50 ? "N" : "Y");
        EXPECT_FALSE(log.hasActLength);
        EXPECT_EQ(log.ACT_LENGTH, 0);
        EXPECT_EQ(log.LOAD_ID, n >= 46 ? 1 : 0); // its digit stands at 46
    }
}

TEST(LoadFileReader, OverrideFlagIsReadFromFiftyCharacters) {
    const std::string line = LogWith(49, "Y");
    EXPECT_EQ(Read(line.substr(0, 48) + "\r\n" + kSampleHeaderLine).load.logs[0].PROD_OVERRIDE,
              "N");
    EXPECT_EQ(Read(line.substr(0, 49) + "\r\n" + kSampleHeaderLine).load.logs[0].PROD_OVERRIDE,
              "Y");
}

TEST(LoadFileReader, ActualLengthNeedsAllThreeCharacters) {
    const std::string line = LogWith(50, "612");
    const LoadFileReadResult full = Read(line + kSampleHeaderLine);
    EXPECT_TRUE(full.load.logs[0].hasActLength);
    EXPECT_EQ(full.load.logs[0].ACT_LENGTH, 612);
    const LoadFileReadResult cut = Read(line.substr(0, 51) + "\r\n" + kSampleHeaderLine);
    EXPECT_FALSE(cut.load.logs[0].hasActLength);
}

TEST(LoadFileReader, LoneLineFeedsEndLinesToo) {
    std::string log = kSampleLogLine;
    log.erase(log.size() - 2, 1);
    const LoadFileReadResult r = Read(log + log + kSampleHeaderLine);
    ASSERT_EQ(r.load.logs.size(), 2u);
    EXPECT_EQ(r.load.logs[1].ACT_LENGTH, 0);
    EXPECT_TRUE(r.load.logs[1].hasActLength);
}

TEST(LoadFileReader, CullFieldsAreTrimmed) {
    const LoadFileReadResult r = Read(LogWith(18, "  5 12  725") + kSampleHeaderLine);
    const LogRecord& log = r.load.logs[0];
    EXPECT_EQ(log.C1, 5);
    EXPECT_EQ(log.C2, 12);
    EXPECT_EQ(log.C3, 7);
    EXPECT_EQ(log.CULL_TYPE, "2");
    EXPECT_EQ(log.CULL_METH, "5");
}

TEST(LoadFileReader, ShortHeaderTakesTheSixDigitDate) {
    for (const auto& [digits, date] :
         {std::pair{std::string("991231"), Date::fromYmd(1999, 12, 31)},
          std::pair{std::string("061215"), Date::fromYmd(2006, 12, 15)},
          std::pair{std::string("890101"), Date::fromYmd(2089, 1, 1)}}) {
        SCOPED_TRACE(digits);
        const std::string header = SampleHeaderWith(72, digits).substr(0, 149) + "\r\n";
        ScriptedPrompt prompt;
        const LoadFileReadResult r = Read(kSampleLogLine + header);
        ASSERT_TRUE(r.read);
        EXPECT_EQ(r.load.header.DATEWEIGHED, date);
    }
}

TEST(LoadFileReader, BlankLongDateFallsBackToTheShortOne) {
    const LoadFileReadResult r =
        Read(kSampleLogLine + SampleHeaderWith(72, "991231").replace(149, 8, "        "));
    EXPECT_EQ(r.load.header.DATEWEIGHED, Date::fromYmd(1999, 12, 31));
    const LoadFileReadResult partial =
        Read(kSampleLogLine + SampleHeaderWith(72, "991231").replace(149, 8, " 2006121"));
    EXPECT_EQ(partial.load.header.DATEWEIGHED, Date::fromYmd(1999, 12, 31));
}

TEST(LoadFileReader, LongDateWinsOverTheShortOne) {
    const LoadFileReadResult r = Read(kSampleLogLine + SampleHeaderWith(150, "19870704"));
    EXPECT_EQ(r.load.header.DATEWEIGHED, Date::fromYmd(1987, 7, 4));
}

TEST(LoadFileReader, HeaderWithoutMethodIsRecomputedBySmalian) {
    // Butt 26, top 20, length 5.0 m: 133 + 79 litres. The second log's 30
    // litres of cull at 10 percent become 21 of the new 212 litres; the
    // first has no cull to recompute.
    const std::string culled = LogWith(18, " 10  0  033").replace(28, 10, "  999   30");
    const std::string text = kSampleLogLine + culled + SampleHeaderUpTo(167) + "\r\n";
    const LoadFileReadResult r = Read(text);
    ASSERT_TRUE(r.read);
    EXPECT_TRUE(r.volumesRecomputed);
    EXPECT_EQ(r.load.header.VOL_CALC_METH, "S");
    EXPECT_EQ(r.load.logs[0].GROSSVOL, 212.0);
    EXPECT_EQ(r.load.logs[0].CULLVOL, 0.0);
    EXPECT_EQ(r.load.logs[1].GROSSVOL, 212.0);
    EXPECT_EQ(r.load.logs[1].CULLVOL, 21.0);
    // Positions past 168 are not there: the five-digit load number stays.
    EXPECT_EQ(r.load.header.LOAD_NUM, 23456);
    EXPECT_EQ(r.load.header.SCALER_NAME, "");
    EXPECT_FALSE(r.load.trimAllowance);
}

TEST(LoadFileReader, AlbertaLoadKeptWhenTheUserSaysNo) {
    ScriptedPrompt prompt;
    prompt.expect(kAlbertaQuestion, PromptAnswer::No);
    const LoadFileReadResult r = Read(kSampleLogLine + SampleHeaderWith(168, "A"));
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.shown()[0].caption, "Alberta Cubic Meter Rule Load Selected");
    EXPECT_EQ(prompt.shown()[0].icon, PromptIcon::Information);
    EXPECT_EQ(prompt.shown()[0].buttons, PromptButtons::YesNo);
    EXPECT_EQ(r.load.header.VOL_CALC_METH, "A");
    EXPECT_EQ(r.load.logs[0].GROSSVOL, 250.0);
    EXPECT_FALSE(r.volumesRecomputed);
    EXPECT_FALSE(r.convertedToSmalian);
    EXPECT_TRUE(r.hideTrimAllowance);
}

TEST(LoadFileReader, AlbertaLoadConvertedWhenTheUserSaysYes) {
    ScriptedPrompt prompt;
    prompt.expect(kAlbertaQuestion, PromptAnswer::Yes);
    const LoadFileReadResult r = Read(kSampleLogLine + SampleHeaderWith(168, "A"));
    EXPECT_EQ(r.load.header.VOL_CALC_METH, "S");
    EXPECT_EQ(r.load.logs[0].GROSSVOL, 212.0);
    EXPECT_TRUE(r.volumesRecomputed);
    EXPECT_TRUE(r.convertedToSmalian);
    EXPECT_FALSE(r.hideTrimAllowance);
}

TEST(LoadFileReader, UnknownMethodLeavesSmalianAndTheVolumes) {
    const LoadFileReadResult r = Read(kSampleLogLine + SampleHeaderWith(168, "X"));
    EXPECT_EQ(r.load.header.VOL_CALC_METH, "S");
    EXPECT_EQ(r.load.logs[0].GROSSVOL, 250.0);
    EXPECT_FALSE(r.volumesRecomputed);
}

TEST(LoadFileReader, WholeFormsNeedTheirLineLength) {
    // The line end counts: 169 characters with it keep the five digits;
    // 170 take the one character before the line end.
    EXPECT_EQ(Read(kSampleLogLine + SampleHeaderUpTo(168) + "\n").load.header.LOAD_NUM, 23456);
    EXPECT_EQ(Read(kSampleLogLine + SampleHeaderUpTo(169) + "\n").load.header.LOAD_NUM, 1);
    EXPECT_EQ(Read(kSampleLogLine + SampleHeaderUpTo(170) + "\n").load.header.LOAD_NUM, 12);
    EXPECT_EQ(Read(kSampleLogLine + SampleHeaderUpTo(175)).load.header.SCALER_NAME, "");
    EXPECT_EQ(Read(kSampleLogLine + SampleHeaderUpTo(176)).load.header.SCALER_NAME, "J ");
    EXPECT_EQ(Read(kSampleLogLine + SampleHeaderUpTo(195)).load.header.SCALER_PERMIT, "");
    EXPECT_EQ(Read(kSampleLogLine + SampleHeaderUpTo(200)).load.header.SCALER_PERMIT, "P123  ");
    EXPECT_FALSE(Read(kSampleLogLine + SampleHeaderUpTo(200)).load.trimAllowance);
    EXPECT_FALSE(Read(kSampleLogLine + SampleHeaderWith(201, "0")).load.trimAllowance);
}

TEST(LoadFileReader, ShortTimberMarkStaysWhenTheLongOneIsBlank) {
    EXPECT_EQ(Read(kSampleLogLine + SampleHeaderWith(158, "          ")).load.header.TM9,
              "TM12345");
    EXPECT_EQ(Read(kSampleLogLine + SampleHeaderUpTo(158)).load.header.TM9, "TM12345");
    EXPECT_EQ(Read(kSampleLogLine + SampleHeaderUpTo(159)).load.header.TM9, "TM");
}

TEST(LoadFileReader, NothingAfterTheHeaderLineIsRead) {
    const LoadFileReadResult r =
        Read(kSampleLogLine + kSampleHeaderLine + "\r\n" + kSampleLogLine + "garbage");
    ASSERT_TRUE(r.read);
    EXPECT_EQ(r.load.logs.size(), 1u);
    EXPECT_TRUE(r.load.trimAllowance);
}

TEST(LoadFileReader, LongLastLineWithoutRecordLetterLeavesNoHeader) {
    const std::string longLog = kSampleLogLine.substr(0, 52) + std::string(120, ' ');
    const LoadFileReadResult r = Read(kSampleLogLine + longLog);
    ASSERT_TRUE(r.read);
    EXPECT_FALSE(r.load.hasHeader);
    EXPECT_EQ(r.load.logs.size(), 2u);
}

TEST(LoadFileReader, FilesWithoutAWholeHeaderFail) {
    for (const std::string& text :
         {std::string(), kSampleLogLine, kSampleLogLine + SampleHeaderUpTo(148) + "\r\n",
          std::string("3\r\n"), kSampleLogLine + "3short header\r\n"}) {
        SCOPED_TRACE(text);
        ScriptedPrompt prompt;
        prompt.expect(kFormatError);
        const LoadFileReadResult r = Read(text);
        EXPECT_FALSE(r.read);
        ASSERT_EQ(prompt.shown().size(), 1u);
        EXPECT_EQ(prompt.shown()[0].caption, "File Format Error");
        EXPECT_EQ(prompt.shown()[0].icon, PromptIcon::Error);
    }
}

TEST(LoadFileReader, HeaderOfExactlyOneHundredAndFiftyIsEnough) {
    const LoadFileReadResult r = Read(kSampleLogLine + SampleHeaderUpTo(149) + "\r\n");
    ASSERT_TRUE(r.read);
    EXPECT_EQ(r.load.header.SAWLOGS, "Y");
    EXPECT_EQ(r.load.header.LOAD_NUM, 23456);
    EXPECT_EQ(r.load.header.TM9, "TM12345");
}

// The error names the file and the line, and the text of the bad field.
void ExpectReadError(const std::string& text, const std::string& lineText,
                     const std::string& fieldText) {
    try {
        Read(text);
        ADD_FAILURE() << "no error";
    } catch (const BrimloError& e) {
        EXPECT_NE(e.text().find("'load.txt'"), std::string::npos) << e.text();
        EXPECT_NE(e.text().find(lineText), std::string::npos) << e.text();
        EXPECT_NE(e.text().find(fieldText), std::string::npos) << e.text();
    }
}

TEST(LoadFileReader, GarbageNumbersRaiseAnErrorNamingFileAndLine) {
    ExpectReadError(kSampleLogLine + LogWith(12, " 2x") + kSampleHeaderLine, "line 2", "2x");
    ExpectReadError(kSampleLogLine + LogWith(29, "12.50") + kSampleHeaderLine, "line 2", "12.50");
    ExpectReadError(kSampleLogLine + LogWith(39, "- 26") + kSampleHeaderLine, "line 2", "BUTTD");
    ExpectReadError(kSampleLogLine + SampleHeaderWith(78, "x7 "), "line 2", "POP");
    ExpectReadError(kSampleLogLine + SampleHeaderWith(56, "1234   "), "line 2", "MILL_NUM");
}

TEST(LoadFileReader, ImpossibleDatesRaiseAnError) {
    ExpectReadError(kSampleLogLine + SampleHeaderWith(150, "20061315"), "line 2", "2006/13/15");
    ExpectReadError(kSampleLogLine + SampleHeaderWith(72, "990230").substr(0, 149) + "\n", "line 2",
                    "1999/2/30");
}

TEST(LoadFileReader, TheLogLimitStopsTheRead) {
    std::string text;
    for (int i = 0; i < kMaxLogs; ++i)
        text += kSampleLogLine;
    EXPECT_EQ(Read(text + kSampleHeaderLine).load.logs.size(), 2400u);
    ExpectReadError(text + kSampleLogLine + kSampleHeaderLine, "line 2401",
                    "The maximum number of logs allowed is 2400");
}

TEST(LoadFileReader, VeryLongLinesAreReadInPieces) {
    // 1023 characters go in one read; the rest of the line is a second one
    // that holds the header.
    const std::string padding = "0" + std::string(1022, ' ');
    const LoadFileReadResult r = Read(kSampleLogLine + padding + kSampleHeaderLine);
    ASSERT_TRUE(r.read);
    EXPECT_TRUE(r.load.hasHeader);
    EXPECT_EQ(r.load.header.LOAD_NUM, 123456);
}

TEST(LoadFileReader, UnopenableFileIsReported) {
    testing::TempDir dir;
    const std::string name = (dir / "missing.txt").string();
    ScriptedPrompt prompt;
    prompt.expect("Error: Unable to open file: '" + name + "'");
    EXPECT_FALSE(ReadLoadFile(name, prompt).read);
    EXPECT_EQ(prompt.shown().at(0).caption, "File Error");
    prompt.expect("Error: Unable to open file: '" + dir.path().string() + "'");
    EXPECT_FALSE(ReadLoadFile(dir.path().string(), prompt).read);
}

TEST(LoadFileReader, EmptyFileOnDiskIsAFormatError) {
    testing::TempDir dir;
    const auto path = dir / "empty.txt";
    std::ofstream(path, std::ios::binary).flush();
    ScriptedPrompt prompt;
    prompt.expect(kFormatError);
    EXPECT_FALSE(ReadLoadFile(path.string(), prompt).read);
    EXPECT_TRUE(prompt.allExpectedShown());
}

TEST(LoadFileReader, ReadsAFileFromDisk) {
    testing::TempDir dir;
    const auto path = dir / "load.txt";
    std::ofstream(path, std::ios::binary) << kSampleLogLine << kSampleLogLine << kSampleHeaderLine;
    ScriptedPrompt prompt;
    const LoadFileReadResult r = ReadLoadFile(path.string(), prompt);
    ASSERT_TRUE(r.read);
    EXPECT_EQ(r.load.logs.size(), 2u);
    EXPECT_EQ(r.load.header.LOAD_NUM, 123456);
}

TEST(LoadFileReader, CodesAreStoredTrimmedAndWrittenBackAsRead) {
    // A right-aligned mill code and left-aligned species come back without
    // blanks, and writing the load again gives the same bytes.
    const std::string bytes = kSampleLogLine + kSampleHeaderLine;
    const LoadFileReadResult r = Read(bytes);
    ASSERT_TRUE(r.read);
    EXPECT_EQ(r.load.header.MILL_CODE, "A");
    EXPECT_EQ(r.load.logs.at(0).SPECIES, "S");
    EXPECT_EQ(FormatLoadFile(r.load), bytes);
}

} // namespace
} // namespace brimlo
