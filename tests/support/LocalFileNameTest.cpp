#include "support/LocalFileName.h"

#include "common/ErrorText.h"

#include <gtest/gtest.h>

namespace brimlo {
namespace {

// Windows-1252 bytes on one side, the UTF-8 the file system lists on the
// other: é is E9 / C3 A9, the euro sign 80 / E2 82 AC. Each name goes both
// ways, and a name picked in a dialog is held as Windows text.
TEST(LocalFileName, WindowsNamesAndTheNamesTheFileSystemListsGoBothWays) {
    const std::pair<const char*, const char*> names[] = {
        {"/srv/D\xE9p\xF4t/Qu\xE9"
         "bec.txt",
         "/srv/D\xC3\xA9p\xC3\xB4t/Qu\xC3\xA9"
         "bec.txt"},
        {"co\xFBt \x80.out", "co\xC3\xBBt \xE2\x82\xAC.out"},
        {"/srv/D\xE9p\xF4t/\x80.txt", "/srv/D\xC3\xA9p\xC3\xB4t/\xE2\x82\xAC.txt"},
        {"plain/AB070123.txt", "plain/AB070123.txt"}};
    for (const auto& [windows, local] : names) {
        EXPECT_EQ(LocalFileName(windows).string(), local);
        EXPECT_EQ(ShownFileName(local), windows);
        EXPECT_EQ(HeldFileName(QString::fromUtf8(local)), windows);
    }
}

TEST(LocalFileName, APickedNameWindowsCannotHoldIsRefused) {
    const QString name = QString::fromUtf8("/loads/\xC5\x81\xC3\xB3"
                                           "d\xC5\xBA.txt"); // Łódź
    EXPECT_EQ(testing::ErrorText([&] { HeldFileName(name); }),
              "The name '/loads/?\xF3"
              "d?.txt' has characters this program cannot keep: choose another name");
}

} // namespace
} // namespace brimlo
