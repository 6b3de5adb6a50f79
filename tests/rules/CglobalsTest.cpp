#include "rules/Cglobals.h"

#include "rules/CodeLists.h"
#include "rules/NumberFormat.h"

#include <gtest/gtest.h>

namespace brimlo {
namespace {

using List = std::vector<std::string>;

TEST(CodeLists, OrderAsOffered) {
    const CodeLists& g = CodeLists::Standard();
    EXPECT_EQ(g.speciesList(),
              (List{" ",  "A",  "AB", "B",  "DF", "F",  "FA", "IC", "ID", "IF", "LT",
                    "OC", "OD", "P",  "PB", "PF", "PW", "S",  "SB", "SE", "SP"}));
    EXPECT_EQ(g.conditionList(), (List{"  ", "BD", "BK", "D", "EN", "FK", "GR", "ID", "IS", "OD"}));
    EXPECT_EQ(g.productList(),
              (List{"  ", "01", "02", "05", "06", "13", "14", "18", "19", "20", "99"}));
    EXPECT_EQ(g.cullTypeList(), (List{"1", "2", "3", "4", "5", "6", "7", " "}));
    EXPECT_EQ(g.cullMethodList(), (List{"1", "2", "3", "4", "5", "6", "7", "8"}));
}

TEST(VolumeMethodNames, LetterByName) {
    EXPECT_EQ(VolumeMethodLetter("Alberta Cubic Metre"), "A");
    EXPECT_EQ(VolumeMethodLetter("Smalian's Formula"), "S");
    EXPECT_EQ(VolumeMethodLetter("smalian's formula"), "");
    EXPECT_EQ(VolumeMethodLetter("Alberta Cubic Meter"), "");
    EXPECT_EQ(VolumeMethodLetter(""), "");
    EXPECT_EQ(VolumeMethodName("S"), "Smalian's Formula");
    EXPECT_EQ(VolumeMethodName("A"), "Alberta Cubic Metre");
}

// Rounded half away from zero, a negative zero shown without its sign.
TEST(NumberFormat, Pictures) {
    EXPECT_EQ(FormatNumber(12.345, "#0.0"), "12.3");
    EXPECT_EQ(FormatNumber(0.256, "#0.000"), "0.256");
    EXPECT_EQ(FormatNumber(0.0625, "#0.000"), "0.063");
    EXPECT_EQ(FormatNumber(2.675, "#0.00"), "2.68");
    EXPECT_EQ(FormatNumber(1234567.5, "#0.0"), "1234567.5");
    EXPECT_EQ(FormatNumber(0, "#0.0000"), "0.0000");
    EXPECT_EQ(FormatNumber(-1.25, "#0.0"), "-1.3");
    EXPECT_EQ(FormatNumber(-0.0004, "#0.000"), "0.000");
    EXPECT_EQ(FormatNumber(0.5, "#0"), "1");
    EXPECT_EQ(FormatNumber(0.5, "#.00"), ".50");
    EXPECT_EQ(FormatNumber(1.5, "#0.0#"), "1.5");
    EXPECT_EQ(FormatNumber(1.505, "#0.0#"), "1.51");
}

} // namespace
} // namespace brimlo
