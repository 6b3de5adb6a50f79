#include "rules/CullTexts.h"

#include <gtest/gtest.h>

namespace brimlo {
namespace {

TEST(CullTexts, TypeAndMethodNames) {
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
}

TEST(CullTexts, StatusLines) {
    EXPECT_EQ(CullMethodStatusText('1', '6', '6'),
              "Heart Rot - Default Cull Deduction Method --- Interior Log Reduction ");
    EXPECT_EQ(CullMethodStatusText('1', '3', '6'),
              "Heart Rot - Selected Cull Deduction Method --- Percent Reduction ");
    EXPECT_EQ(CullMeasureStatusText('3', '1', 1),
              "Sap Rot - Diameter Reduction - Enter Sound Wood Butt Diameter (cm)");
    EXPECT_EQ(CullMeasureStatusText('2', '8', 2),
              "End Rot - End Rot Reduction - Enter Cull Diameter At Large End (cm)");
    EXPECT_EQ(CullMeasureStatusText('1', '3', 2), "Heart Rot - Percent Reduction - ");
}

TEST(CullTexts, PromptsOnlyForMeasuredValues) {
    EXPECT_EQ(CullMeasurePrompt('1', 2), "Enter Sound Wood Top Diameter (cm)");
    EXPECT_EQ(CullMeasurePrompt('2', 1), "Enter Cull Length (dm)");
    EXPECT_EQ(CullMeasurePrompt('3', 1), "Enter Cull Percentage (%)");
    EXPECT_EQ(CullMeasurePrompt('4', 1), "Enter Numerator");
    EXPECT_EQ(CullMeasurePrompt('4', 2), "Enter Denominator");
    EXPECT_EQ(CullMeasurePrompt('5', 1), "Enter Cull Height (cm)");
    EXPECT_EQ(CullMeasurePrompt('5', 2), "Enter Cull Width (cm)");
    EXPECT_EQ(CullMeasurePrompt('5', 3), "Enter Cull Length (dm)");
    EXPECT_EQ(CullMeasurePrompt('6', 1), "Enter Cull Top Diameter (cm)");
    EXPECT_EQ(CullMeasurePrompt('6', 2), "Enter Cull Butt Diameter (cm)");
    EXPECT_EQ(CullMeasurePrompt('7', 1), "Enter Cube Cull Deduction");
    EXPECT_EQ(CullMeasurePrompt('8', 1), "Enter Large End Log Diameter (cm)");
    EXPECT_EQ(CullMeasurePrompt('8', 3), "Enter Cull Length (dm)");
    for (char m : {'1', '2', '3', '4', '7'})
        EXPECT_EQ(CullMeasurePrompt(m, 3), "") << m;
    for (char m : {'2', '3', '7'})
        EXPECT_EQ(CullMeasurePrompt(m, 2), "") << m;
    EXPECT_EQ(CullMeasurePrompt(' ', 1), "");
    EXPECT_EQ(CullMeasurePrompt('1', 4), "");
}

} // namespace
} // namespace brimlo
