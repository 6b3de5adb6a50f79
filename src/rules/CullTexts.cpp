#include "rules/CullTexts.h"

#include <array>

namespace brimlo {

namespace {

constexpr std::array<const char*, 7> kTypeNames{
    "Heart Rot", "End Rot", "Sap Rot", "Cat Face", "Crook/Swamp", "Shake/Cracks", "Crotch/Forks"};

constexpr std::array<const char*, 8> kMethodNames{
    "Diameter Reduction",  "Length Reduction",       "Percent Reduction",
    "Fractions Reduction", "Blocking Out Reduction", "Interior Log Reduction",
    "Cube Cull Reduction", "End Rot Reduction"};

// C1, C2, C3 prompts per method; an empty text marks a barred measurement.
constexpr std::array<std::array<const char*, 3>, 8> kPrompts{{
    {"Enter Sound Wood Butt Diameter (cm)", "Enter Sound Wood Top Diameter (cm)", ""},
    {"Enter Cull Length (dm)", "", ""},
    {"Enter Cull Percentage (%)", "", ""},
    {"Enter Numerator", "Enter Denominator", ""},
    {"Enter Cull Height (cm)", "Enter Cull Width (cm)", "Enter Cull Length (dm)"},
    {"Enter Cull Top Diameter (cm)", "Enter Cull Butt Diameter (cm)", "Enter Cull Length (dm)"},
    {"Enter Cube Cull Deduction", "", ""},
    {"Enter Large End Log Diameter (cm)", "Enter Cull Diameter At Large End (cm)",
     "Enter Cull Length (dm)"},
}};

int TypeIndex(char cullType) {
    return cullType >= '1' && cullType <= '7' ? cullType - '1' : -1;
}

int MethodIndex(char cullMethod) {
    return cullMethod >= '1' && cullMethod <= '8' ? cullMethod - '1' : -1;
}

} // namespace

std::string CullTypeName(char cullType) {
    const int i = TypeIndex(cullType);
    return i < 0 ? std::string() : std::string(kTypeNames[i]) + " - ";
}

std::string CullMethodName(char cullMethod) {
    const int i = MethodIndex(cullMethod);
    return i < 0 ? std::string() : std::string(kMethodNames[i]) + " - ";
}

std::string CullMethodLongName(char cullMethod) {
    const int i = MethodIndex(cullMethod);
    return i < 0 ? std::string() : kCullMethodLongPrefix + std::string(kMethodNames[i]) + " ";
}

std::string CullMeasurePrompt(char cullMethod, int measurement) {
    const int i = MethodIndex(cullMethod);
    if (i < 0 || measurement < 1 || measurement > 3)
        return {};
    return kPrompts[i][measurement - 1];
}

std::string CullMethodStatusText(char cullType, char cullMethod, char defaultMethod) {
    const char* word = cullMethod == defaultMethod ? kDefaultMethodWord : kSelectedMethodWord;
    return CullTypeName(cullType) + word + CullMethodLongName(cullMethod);
}

std::string CullMeasureStatusText(char cullType, char cullMethod, int measurement) {
    return CullTypeName(cullType) + CullMethodName(cullMethod) +
           CullMeasurePrompt(cullMethod, measurement);
}

} // namespace brimlo
