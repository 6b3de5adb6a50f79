#include "common/ScriptedPrompt.h"
#include "common/TempDir.h"
#include "master/CMaster.h"
#include "master/MasterTable.h"
#include "master/MasterTestSupport.h"

#include <cstdio>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace brimlo;
using namespace brimlo::testing;
using ::testing::ThrowsMessage;

namespace {

const std::string kEmptyBlock = std::string(8, ' ') + "   0" + "    0" + "      0" + "      0";
const std::string kThreeEmptyBlocks = kEmptyBlock + kEmptyBlock + kEmptyBlock;

// The master record of the worked example: one group, weighed December 2006.
CMaster ExampleMaster() {
    CMaster m = ThreeGroupMaster();
    m.SOURCE.clear();
    m.summary.NUM_GROUPS = 1;
    m.summary.TOTALLOGS = 2;
    m.summary.groups[1] = m.summary.groups[2] = {};
    return m;
}

const std::string kExampleGroup = "S  GR 01   2   96    448     20";
const std::string kExampleIdentification =
    "M123456AB  1  123LESSEE CO           CTL       A1    1220061216 25000                    ";

// The example record with its one group repeated in each of the groups in use.
void AddExampleRecord(Dataset& master, const char* sawlogs, int groups) {
    CMaster m = ExampleMaster();
    m.summary.NUM_GROUPS = static_cast<int16_t>(groups);
    m.summary.TOTALLOGS = 2 * groups;
    m.summary.groups.fill(m.summary.groups[0]);
    Record r = m.ToMasterRecord();
    r[kMasterSawlogs] = sawlogs;
    AddRecord(master, r);
}

} // namespace

// Gross per tree rounds to the nearest: 1/3 is 3333.33. A later line
// carries its own four groups; the line itself reads no group count.
TEST(MasterAsciiLine, WorkedExampleAndALaterLineByteForByte) {
    CMaster m = ExampleMaster();
    m.summary.groups[4] = {"SP D 01", 1234, 123.4, 12.3456, 1.5, 10.8456, 12.15};
    const struct {
        int firstGroup;
        double grossPerTree;
        std::string group, end;
    } cases[] = {{1, 0.448 / 5, kExampleGroup, "   2  896N\r\n"},
                 {1, 1.0 / 3, kExampleGroup, "   2 3333N\r\n"},
                 {5, 1.23456, "SP D 01 1234 1234  12346   1500", "   212346N\r\n"}};
    for (const auto& c : cases) {
        std::string line;
        m.WriteMasterAsciiLine(line, c.firstGroup, c.grossPerTree);
        EXPECT_EQ(line, kExampleIdentification + c.group + kThreeEmptyBlocks + c.end);
    }
}

// Texts are cut, padded and aligned as the formats say. Whole-number fields
// round as printf's "%.0f" does: halves to even, "-0" for a negative that
// rounds to zero, values wider than their field and values beyond exact
// integers. A record without a date prints blanks for it.
TEST(MasterAsciiLine, FieldsAreCutPaddedAlignedAndRoundedAsTheFormatsSay) {
    CMaster m = ExampleMaster();
    m.MILL_NUM = 7;
    m.MILLCODE = "A";
    m.POP = 12;
    m.LOAD_NUM = 123456; // only the last five digits
    m.LESSEE = "A LESSEE NAME LONGER THAN TWENTY";
    m.DISP = "DISPOSITION1";
    m.SUBDISP = "SUBDX";
    m.BLOCK_NUM = "7";
    m.WEIGH_DATE = Date::fromYmd(1999, 3, 1);
    m.TOP_D = 8;
    m.NET_WEIGHT = 950;
    m.SOURCE = "A SOURCE";
    m.SAWLOGS = 'Y';
    m.summary.TOTALLOGS = 0; // precision 0: a zero prints as blanks
    const std::string identification = std::string("M     7A  12") + "23456" +
                                       "A LESSEE NAME LONGER" + "DISPOSITIO" + "SUBD" + "   7" +
                                       "199903" + " 8" + "   950" + "A SOURCE            ";
    const double values[] = {
        0.0,  -0.0,    0.00025, 0.0005, 0.0015,   0.0025,  -0.0003, -0.0005, -0.0025,
        0.05, 0.15,    0.25,    -0.05,  123.4565, 99999.5, 1e9,     -1e9,    1e13,
        3e14, -7.3e17, 1e20,    2.5e-5, -4.5e-5,  0.35,    1234.5,  -1234.5, 0.4999999999999999};
    const auto printed = [](int width, double v) {
        char text[64];
        std::snprintf(text, sizeof text, "%*.0f", width, v);
        return std::string(text);
    };
    for (double v : values) {
        m.summary.groups[0] = {"S  GR 01", 1, v, v, v, 0.0, 0.0};
        std::string line;
        m.WriteMasterAsciiLine(line, 1, v);
        EXPECT_EQ(line, identification + "S  GR 01   1" + printed(5, v * 10) +
                            printed(7, v * 1000) + printed(7, v * 1000) + kThreeEmptyBlocks +
                            "    " + printed(5, v * 10000) + "Y\r\n")
            << v;
    }
    m.WEIGH_DATE = Date{};
    std::string line;
    m.WriteMasterAsciiLine(line, 1, 0.0);
    EXPECT_EQ(line.substr(55, 8), "       8");
}

class MasterAsciiFile : public ::testing::Test {
protected:
    std::unique_ptr<Dataset> dataset = NewMasterDataset();
    MasterTable table{*dataset};
    TempDir dir;
    CMaster master;
    InstalledPrompt boxes;

    // The lines of a file, each of which must end in CR LF.
    std::vector<std::string> Lines(const std::filesystem::path& file) {
        const std::string bytes = ReadBytes(file);
        EXPECT_TRUE(bytes.ends_with("\r\n")) << "line without CR LF";
        std::vector<std::string> lines;
        for (std::size_t at = 0, end; (end = bytes.find("\r\n", at)) != std::string::npos;
             at = end + 2)
            lines.push_back(bytes.substr(at, end - at));
        return lines;
    }
};

// Records follow with fewer groups each: the groups of one must not leak
// into the next.
TEST_F(MasterAsciiFile, LinesPerRecordFollowTheGroupCount) {
    for (int groups : {12, 9, 8, 5, 4, 1, 0})
        AddExampleRecord(*dataset, "N", groups);
    ASSERT_TRUE(master.WriteMasterAscii((dir / "m.out").string(), table, "Y", boxes));
    const std::vector<std::string> lines = Lines(dir / "m.out");
    // 3, 3, 2, 2, 1, 1, 1 lines.
    ASSERT_EQ(lines.size(), 13u);
    for (const std::string& line : lines) {
        EXPECT_EQ(line.size(), 223u);
        EXPECT_EQ(line.substr(0, 89), kExampleIdentification);
    }
    const std::string& full = kExampleGroup;
    EXPECT_EQ(lines[2].substr(89, 124), full + full + full + full);
    EXPECT_EQ(lines[2].substr(213), "  2410752N");
    for (int i : {5, 9, 11})
        EXPECT_EQ(lines[i].substr(89, 124), full + kThreeEmptyBlocks) << i;
    // Gross per tree over the groups in use: 5 x 0.448 / 5 trees.
    EXPECT_EQ(lines[9].substr(213), "  10 4480N");
    EXPECT_EQ(lines[10].substr(89, 124), full + full + full + full);
    EXPECT_EQ(lines[12].substr(89, 124), kThreeEmptyBlocks + kEmptyBlock);
    EXPECT_EQ(lines[12].substr(213), "    " + std::string("    0") + "N");
}

// The chosen name is held as Windows-1252 text; the file goes into the
// folder the file system lists under that name. With both SAWLOGS empty the
// export stops and the earlier file stays.
TEST_F(MasterAsciiFile, EmptySawlogsTakesTheDefaultsAndTheTableReturnsToItsRecord) {
    for (const char* sawlogs : {"N", "", "N"})
        AddExampleRecord(*dataset, sawlogs, 1);
    dataset->first();
    dataset->next();
    const std::filesystem::path folder = dir / "D\xC3\xA9p\xC3\xB4t";
    std::filesystem::create_directory(folder);
    const std::string name = dir.path().string() + "/D\xE9p\xF4t/m.out";
    ASSERT_TRUE(master.WriteMasterAscii(name, table, "Y", boxes));
    const std::vector<std::string> lines = Lines(folder / "m.out");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].back(), 'Y');
    EXPECT_EQ(dataset->recNo(), 2);
    EXPECT_THAT([&] { master.WriteMasterAscii(name, table, "", boxes); },
                ThrowsMessage<BrimloError>("Range check error"));
    EXPECT_EQ(Lines(folder / "m.out"), lines);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
}

TEST_F(MasterAsciiFile, MissingDirectoryTellsTheUser) {
    AddExampleRecord(*dataset, "N", 1);
    const std::string name = (dir / "no such dir" / "m.out").string();
    ScriptedPrompt prompt;
    prompt.expect("Error: Unable to write to file: '" + name + "'.");
    EXPECT_FALSE(master.WriteMasterAscii(name, table, "", prompt));
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.shown()[0].caption, "File Error:");
    EXPECT_EQ(prompt.shown()[0].icon, PromptIcon::Error);
}
