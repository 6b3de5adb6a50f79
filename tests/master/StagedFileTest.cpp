#include "support/StagedFile.h"

#include "common/TempDir.h"
#include "master/MasterTestSupport.h"
#include "support/BrimloError.h"

#include <cerrno>
#include <cstring>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace brimlo;
using namespace brimlo::testing;
using ::testing::ThrowsMessage;

// The old file stays until the commit, which brings every byte written,
// overwritten ones too, whether on disk or still buffered; a file dropped
// without one leaves nothing of itself, even past the buffer, on disk.
TEST(StagedFile, OldFileStaysUntilCommitAndADroppedOneLeavesNothing) {
    const std::string middle(3 << 20, 'x');
    for (bool commit : {true, false}) {
        TempDir dir;
        WriteBytes(dir / "out.txt", "old");
        {
            StagedFile file(dir / "out.txt");
            file.write("0000");
            file.write(middle);
            file.write("end");
            file.writeAt(1, "12");
            file.writeAt(4 + middle.size() + 1, "ND");
            EXPECT_EQ(ReadBytes(dir / "out.txt"), "old");
            if (commit)
                file.commit();
        }
        EXPECT_TRUE(ReadBytes(dir / "out.txt") == (commit ? "0120" + middle + "eND" : "old"));
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    }
}

// A missing folder is an error naming the file; messages are Windows-1252
// text, so a folder the file system spells in UTF-8 is named as the user sees it.
TEST(StagedFile, AMissingFolderIsAnErrorNamingTheFileAsTheUserSeesIt) {
    TempDir dir;
    EXPECT_THAT([&] { StagedFile(dir / "D\xC3\xA9p\xC3\xB4t" / "out.txt"); },
                ThrowsMessage<BrimloError>(
                    "File '" + dir.path().string() +
                    "/D\xE9p\xF4t/out.txt' cannot be created: " + std::strerror(ENOENT)));
}

// Written through a link, the file behind it changes and the link stays; a
// name as long as a load file's may be (251 characters) is written too. A
// link whose target is missing (a share not mounted) is refused, not
// answered with a new file in the link's place or at its target.
TEST(StagedFile, WritesThroughALinkAndUnderTheLongestNameButNotThroughADanglingLink) {
    TempDir dir;
    std::filesystem::create_directory(dir / "share");
    WriteBytes(dir / "share" / "load.txt", "old");
    std::filesystem::create_symlink("share/load.txt", dir / "link.txt");
    const std::filesystem::path longest = dir / (std::string(247, 'L') + ".txt");
    for (const std::filesystem::path& target : {dir / "link.txt", longest}) {
        StagedFile file(target);
        file.write("new");
        file.commit();
        EXPECT_EQ(ReadBytes(target), "new") << target;
    }
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.txt"));
    EXPECT_EQ(ReadBytes(dir / "share" / "load.txt"), "new");
    std::filesystem::create_symlink(dir / "share" / "master.db", dir / "master.db");
    EXPECT_THROW(StagedFile(dir / "master.db"), BrimloError);
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "master.db"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 4);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "share"), {}), 1);
}
