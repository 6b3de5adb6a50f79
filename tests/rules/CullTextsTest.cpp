#include "rules/CullTexts.h"

#include <gtest/gtest.h>

namespace brimlo {
namespace {

// Type and method names, status lines, and prompts only for the values
// a method measures.
TEST(CullTexts, NamesStatusLinesAndPrompts) {
    const char* types[] = {"Heart Rot - ",   "End Rot - ",      "Sap Rot - ",     "Cat Face - ",
                           "Crook/Swamp - ", "Shake/Cracks - ", "Crotch/Forks - "};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(CullTypeName(static_cast<char>('1' + i)), types[i]);
    EXPECT_EQ(CullTypeName(' '), "");
    EXPECT_EQ(CullTypeName('8'), "");
    const char* methods[] = {"Diameter Reduction",     "Length Reduction",
                             "Percent Reduction",      "Fractions Reduction",
                             "Blocking Out Reduction", "Interior Log Reduction",
                             "Cube Cull Reduction",    "End Rot Reduction"};
    for (int i = 0; i < 8; ++i) {
        const char m = static_cast<char>('1' + i);
        EXPECT_EQ(CullMethodName(m), std::string(methods[i]) + " - ");
        EXPECT_EQ(CullMethodLongName(m),
                  "Cull Deduction Method --- " + std::string(methods[i]) + " ");
    }
    EXPECT_EQ(CullMethodName('9'), "");

    EXPECT_EQ(CullMethodStatusText('1', '6', '6'),
              "Heart Rot - Default Cull Deduction Method --- Interior Log Reduction ");
    EXPECT_EQ(CullMethodStatusText('1', '3', '6'),
              "Heart Rot - Selected Cull Deduction Method --- Percent Reduction ");
    EXPECT_EQ(CullMeasureStatusText('3', '1', 1),
              "Sap Rot - Diameter Reduction - Enter Sound Wood Butt Diameter (cm)");
    EXPECT_EQ(CullMeasureStatusText('2', '8', 2),
              "End Rot - End Rot Reduction - Enter Cull Diameter At Large End (cm)");
    EXPECT_EQ(CullMeasureStatusText('1', '3', 2), "Heart Rot - Percent Reduction - ");

    // method, then the prompts for C1, C2 and C3
    const char* prompts[][4] = {
        {"1", "Enter Sound Wood Butt Diameter (cm)", "Enter Sound Wood Top Diameter (cm)", ""},
        {"2", "Enter Cull Length (dm)", "", ""},
        {"3", "Enter Cull Percentage (%)", "", ""},
        {"4", "Enter Numerator", "Enter Denominator", ""},
        {"5", "Enter Cull Height (cm)", "Enter Cull Width (cm)", "Enter Cull Length (dm)"},
        {"6", "Enter Cull Top Diameter (cm)", "Enter Cull Butt Diameter (cm)",
         "Enter Cull Length (dm)"},
        {"7", "Enter Cube Cull Deduction", "", ""},
        {"8", "Enter Large End Log Diameter (cm)", "Enter Cull Diameter At Large End (cm)",
         "Enter Cull Length (dm)"}};
    for (const auto& p : prompts)
        for (int i = 1; i <= 3; ++i)
            EXPECT_EQ(CullMeasurePrompt(p[0][0], i), p[i]) << p[0] << i;
    EXPECT_EQ(CullMeasurePrompt(' ', 1), "");
    EXPECT_EQ(CullMeasurePrompt('1', 4), "");
}

} // namespace
} // namespace brimlo
