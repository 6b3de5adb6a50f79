#include "load/LoadFileLines.h"

#include <gtest/gtest.h>

namespace brimlo {
namespace {

TEST(LoadFileLines, LineEndCountsAsOneCharacter) {
    const auto lines = SplitLoadFileLines("abc\r\nde\nfgh");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].text, "abc");
    EXPECT_EQ(lines[0].length, 4u);
    EXPECT_EQ(lines[1].text, "de");
    EXPECT_EQ(lines[1].length, 3u);
    EXPECT_EQ(lines[2].text, "fgh");
    EXPECT_EQ(lines[2].length, 3u);
    EXPECT_EQ(lines[2].number, 3u);
}

TEST(LoadFileLines, LongLinesAreReadInPiecesOf1023) {
    const std::string text = std::string(1022, 'x') + "\r\n" + std::string(1023, 'y') + "\r\n";
    const auto lines = SplitLoadFileLines(text);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].length, 1023u); // 1022 and the line end
    EXPECT_EQ(lines[1].length, 1023u); // no room left for the line end
    EXPECT_EQ(lines[1].text, std::string(1023, 'y'));
    EXPECT_EQ(lines[2].length, 1u);
    EXPECT_EQ(lines[2].text, "");
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

TEST(LoadFileLines, EmptyInputHasNoLines) {
    EXPECT_TRUE(SplitLoadFileLines("").empty());
}

} // namespace
} // namespace brimlo
