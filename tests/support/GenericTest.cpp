#include "support/BrimloError.h"
#include "support/Cp1252.h"
#include "support/DovraneGeneric.h"
#include "support/Value.h"

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

TEST(Generic, ReplaceFirstAndUpcaseFirstTouchOnlyTheirPart) {
    std::string s = "Log3.db Log3.db";
    ReplaceFirst(s, "Log", "Header");
    EXPECT_EQ(s, "Header3.db Log3.db");
    for (const auto& [text, upcased] :
         {std::pair<std::string, std::string>{"abc", "Abc"}, {"1bc", "1bc"}, {"", ""}}) {
        s = text;
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

TEST(Date, KnownDayNumbers) {
    EXPECT_EQ(Date::fromYmd(1, 1, 1).days, 1);
    // 1 January 2000 is day 730120 counted from 1 January of year 1 as 1.
    EXPECT_EQ(Date::fromYmd(2000, 1, 1).days, 730120);
    EXPECT_EQ(Date::fromYmd(2000, 3, 1).days - Date::fromYmd(2000, 2, 28).days, 2);
    EXPECT_EQ(Date::fromYmd(1900, 3, 1).days - Date::fromYmd(1900, 2, 28).days, 1);
    EXPECT_FALSE(Date::fromYmd(2001, 2, 29).valid());
}

TEST(Date, RoundTripsEveryDayOfFourCenturies) {
    const int32_t from = Date::fromYmd(1800, 1, 1).days;
    const int32_t to = Date::fromYmd(2200, 12, 31).days;
    for (int32_t n = from; n <= to; ++n) {
        int y, m, d;
        Date{n}.toYmd(y, m, d);
        ASSERT_EQ(Date::fromYmd(y, m, d).days, n);
    }
}

TEST(Value, ConversionsBetweenKinds) {
    EXPECT_EQ(Value(256.0).asInt(), 256);
    EXPECT_EQ(Value(int32_t{42}).asString(), "42");
    EXPECT_EQ(Value("17").asInt(), 17);
    EXPECT_EQ(Value("x").asInt(), 0);
    EXPECT_EQ(Value(Date::fromYmd(2024, 2, 29)).asString(), "2024/02/29");
}
