#pragma once

#include <string>

namespace brimlo {

// Status-line and refusal texts of the cull entry.
inline constexpr const char* kCullErrorCaption = "Cull Error";
inline constexpr const char* kEnterCullTypePrompt = "Enter Cull Type (1-7)";
inline constexpr const char* kCullTypeNeedsGrossText =
    "Can only enter cull type if gross volume is greater than 0.";
inline constexpr const char* kCullTypeFirstText = "Cull Error: Cull Type must be entered first";
inline constexpr const char* kCullMethodFirstText = "Cull Error: Cull Method must be entered first";
inline constexpr const char* kCannotEnterC2Text =
    "Cull Error: Cannot enter C2 with this cull method";
inline constexpr const char* kCannotEnterC3Text =
    "Cull Error: Cannot enter C3 with this cull method";
inline constexpr const char* kDefaultMethodWord = "Default ";
inline constexpr const char* kSelectedMethodWord = "Selected ";
inline constexpr const char* kCullMethodLongPrefix = "Cull Deduction Method --- ";

// "Heart Rot - " and so on for types '1' to '7'; empty for any other.
std::string CullTypeName(char cullType);

// "Diameter Reduction - " and so on for methods '1' to '8'; empty otherwise.
std::string CullMethodName(char cullMethod);

// "Cull Deduction Method --- Diameter Reduction " and so on; empty for an
// unknown method.
std::string CullMethodLongName(char cullMethod);

// The prompt for measurement 1, 2 or 3 (C1..C3) of a method, empty where
// the method takes no such measurement.
std::string CullMeasurePrompt(char cullMethod, int measurement);

// The status line on entering the method selector, e.g.
// "Heart Rot - Default Cull Deduction Method --- Interior Log Reduction ".
std::string CullMethodStatusText(char cullType, char cullMethod, char defaultMethod);

// The status line on entering C1..C3, e.g.
// "Sap Rot - Diameter Reduction - Enter Sound Wood Butt Diameter (cm)".
std::string CullMeasureStatusText(char cullType, char cullMethod, int measurement);

} // namespace brimlo
