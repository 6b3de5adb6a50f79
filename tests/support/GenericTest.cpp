#include "support/BrimloError.h"
#include "support/Cp1252.h"
#include "support/DovraneGeneric.h"

#include <gtest/gtest.h>

using namespace brimlo;

TEST(RoundDecimals, HalvesGoAwayFromZeroToleratingAHairBelow) {
    const struct {
        double value;
        int places;
        double rounded;
    } cases[] = {{0.5, 0, 1.0},  {-0.5, 0, -1.0},        {2.5, 0, 3.0},    {-2.5, 0, -3.0},
                 {2.49, 0, 2.0}, {2.4999999999, 0, 3.0}, {1.005, 2, 1.01}, {2.675, 2, 2.68},
                 {7.0, 0, 7.0},  {0.0625, 3, 0.063},     {7.0, 2, 7.0}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(RoundDecimals(c.value, c.places), c.rounded) << c.value << " " << c.places;
}

TEST(Generic, ReplaceFirstReplacesOnlyTheFirst) {
    std::string s = "Log3.db Log3.db";
    ReplaceFirst(s, "Log", "Header");
    EXPECT_EQ(s, "Header3.db Log3.db");
}

TEST(Generic, UpcaseFirstTouchesOnlyAsciiLetters) {
    for (const auto& [text, upcased] :
         {std::pair<std::string, std::string>{"abc", "Abc"}, {"1bc", "1bc"}, {"", ""}}) {
        std::string s = text;
        UpcaseFirst(s);
        EXPECT_EQ(s, upcased);
    }
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
    for (const auto& [text, stopped] :
         {std::pair<const char*, const char*>{"Bad value", "Bad value."},
          {"Bad value.", "Bad value."},
          {"Really!", "Really!"},
          {"Value 5", "Value 5."},
          {"", ""}})
        EXPECT_EQ(WithFullStop(text), stopped);
}

TEST(Cp1252, RoundTripsEveryDefinedByte) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_EQ(ToCp1252(FromCp1252(all)), all);
    EXPECT_EQ(FromCp1252("\x80"), QString(QChar(0x20AC)));
    EXPECT_EQ(ToCp1252(QString(QChar(0x4E2D))), "?");
}
