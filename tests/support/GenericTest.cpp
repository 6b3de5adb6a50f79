#include "support/BrimloError.h"
#include "support/Cp1252.h"
#include "support/DovraneGeneric.h"

#include <gtest/gtest.h>

using namespace brimlo;

TEST(RoundDecimals, HalvesGoAwayFromZero) {
    EXPECT_EQ(RoundDecimals(0.5, 0), 1.0);
    EXPECT_EQ(RoundDecimals(-0.5, 0), -1.0);
    EXPECT_EQ(RoundDecimals(2.5, 0), 3.0);
    EXPECT_EQ(RoundDecimals(-2.5, 0), -3.0);
}

TEST(RoundDecimals, ToleratesValuesAHairBelowAHalf) {
    EXPECT_EQ(RoundDecimals(2.4999999999, 0), 3.0);
    EXPECT_EQ(RoundDecimals(2.49, 0), 2.0);
    EXPECT_DOUBLE_EQ(RoundDecimals(1.005, 2), 1.01);
    EXPECT_DOUBLE_EQ(RoundDecimals(2.675, 2), 2.68);
    EXPECT_DOUBLE_EQ(RoundDecimals(0.0625, 3), 0.063);
    EXPECT_EQ(RoundDecimals(7.0, 0), 7.0);
    EXPECT_DOUBLE_EQ(RoundDecimals(7.0, 2), 7.0);
}

TEST(Generic, ReplaceFirstReplacesOnlyTheFirst) {
    std::string s = "Log3.db Log3.db";
    ReplaceFirst(s, "Log", "Header");
    EXPECT_EQ(s, "Header3.db Log3.db");
}

TEST(Generic, UpcaseFirstTouchesOnlyAsciiLetters) {
    std::string a = "abc", b = "1bc", c = "";
    UpcaseFirst(a);
    UpcaseFirst(b);
    UpcaseFirst(c);
    EXPECT_EQ(a, "Abc");
    EXPECT_EQ(b, "1bc");
    EXPECT_EQ(c, "");
}

TEST(Generic, WorkspaceNamePairs) {
    const std::vector<std::pair<std::string, std::string>> pairs = {
        {"Header", ".db"}, {"Log", ".db"}, {"Log", ".PX"}};
    for (const char* name : {"Header12.db", "Log12.db", "Log12.PX", "Logbook.db"})
        EXPECT_TRUE(MatchesAnyPair(name, pairs)) << name;
    for (const char* name : {"master.db", "defaults.db", "header1.db"})
        EXPECT_FALSE(MatchesAnyPair(name, pairs)) << name;
}

TEST(ErrorBox, FullStopAddedOnlyAboveFullStop) {
    EXPECT_EQ(WithFullStop("Bad value"), "Bad value.");
    EXPECT_EQ(WithFullStop("Bad value."), "Bad value.");
    EXPECT_EQ(WithFullStop("Really!"), "Really!");
    EXPECT_EQ(WithFullStop("Value 5"), "Value 5.");
    EXPECT_EQ(WithFullStop(""), "");
}

TEST(Cp1252, RoundTripsEveryDefinedByte) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_EQ(ToCp1252(FromCp1252(all)), all);
    EXPECT_EQ(FromCp1252("\x80"), QString(QChar(0x20AC)));
    EXPECT_EQ(ToCp1252(QString(QChar(0x4E2D))), "?");
}
