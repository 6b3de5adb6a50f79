#include "master/MasterExport.h"

#include "common/ScriptedPrompt.h"
#include "common/TempDir.h"
#include "master/CMaster.h"
#include "master/MasterTable.h"
#include "master/MasterTestSupport.h"

#include <gtest/gtest.h>

using namespace brimlo;
using namespace brimlo::testing;

namespace {

class MasterExport : public ::testing::Test {
protected:
    std::unique_ptr<Dataset> dataset = NewMasterDataset();
    MasterTable table{*dataset};
    CMaster master;
    TempDir dir;
    const Date written = Date::fromYmd(2026, 12, 9);

    void SetUp() override { AddRecord(*dataset, ThreeGroupMaster().ToMasterRecord()); }
    std::string Name(const char* file) const { return (dir / file).string(); }
};

} // namespace

TEST(DirectoryWithSeparator, KeepsTheTrailingSeparator) {
    EXPECT_EQ(DirectoryWithSeparator("/data/loads/master.out"), "/data/loads/");
    EXPECT_EQ(DirectoryWithSeparator("/master.out"), "/");
    EXPECT_EQ(DirectoryWithSeparator("master.out"), "");
}

TEST_F(MasterExport, WritesTheThreeFilesAndListsThem) {
    const std::string d = dir.path().string() + "/";
    ScriptedPrompt prompt;
    prompt.expect("Files:\n" + d + "export.out\n" + d + "SAMPLWT.dbf\n" + d + "SAMPLVOL.dbf\n" +
                  "were generated successfully.");
    ASSERT_TRUE(ExportMasterFiles(Name("export.out"), master, table, "", prompt, written));
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.shown()[0].caption, "Success");
    EXPECT_EQ(prompt.shown()[0].icon, PromptIcon::Information);
    EXPECT_EQ(ReadBytes(dir / "export.out").size(), 225u);
    EXPECT_TRUE(std::filesystem::exists(dir / "SAMPLWT.dbf"));
    EXPECT_TRUE(std::filesystem::exists(dir / "SAMPLVOL.dbf"));
}

TEST_F(MasterExport, AnAsciiFileThatCannotBeReplacedStopsBeforeTheTables) {
    // A directory of that name cannot be replaced by the file, even by root.
    std::filesystem::create_directory(dir / "export.out");
    ScriptedPrompt prompt;
    prompt.expect("Error: Unable to write to file: '" + Name("export.out") + "'.");
    EXPECT_FALSE(ExportMasterFiles(Name("export.out"), master, table, "", prompt, written));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

// Whatever stops the tables, the old ones stay as they were.
TEST_F(MasterExport, AFailingSampleTableShowsNoSuccess) {
    WriteBytes(dir / "SAMPLWT.dbf", "old weight table");
    // A directory where the volume table should go cannot be replaced.
    std::filesystem::create_directory(dir / "SAMPLVOL.dbf");
    ScriptedPrompt prompt; // any box would fail the test
    EXPECT_THROW(ExportMasterFiles(Name("export.out"), master, table, "", prompt, written),
                 BrimloError);
    // The text file is complete: it was written before the tables.
    EXPECT_EQ(ReadBytes(dir / "export.out").size(), 225u);
    EXPECT_EQ(ReadBytes(dir / "SAMPLWT.dbf"), "old weight table");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3);
}
