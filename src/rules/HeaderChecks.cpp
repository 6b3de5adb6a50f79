#include "rules/HeaderChecks.h"

#include "support/DovraneGeneric.h"
#include "support/Prompt.h"

#include <array>
#include <ctime>

namespace brimlo {

namespace {

constexpr const char* kBothValuesText = "Cannot have values for both disposition and source";
constexpr const char* kDispositionCaption = "Disposition Error:";
constexpr const char* kTopDiameterCaption = "Top Diameter Error:";
constexpr const char* kTopEvenText = "Top Diameter must be an even number";
constexpr const char* kTopRangeText = "Top Diameter must be between 2 and 76 (inclusive)";
constexpr const char* kScalerCaption = "Scaler Name Error:";

bool Fail(Prompt& prompt, const std::string& text, const std::string& caption) {
    prompt.message(text, caption, PromptIcon::Error);
    return false;
}

bool IsEven(int value) {
    return value % 2 == 0;
}

bool HasNonBlank(const std::string& text) {
    return !Trimmed(text).empty();
}

bool CheckTopDiameterRange(int value, bool zeroAllowed, Prompt& prompt) {
    if (!IsEven(value))
        return Fail(prompt, kTopEvenText, kTopDiameterCaption);
    if ((zeroAllowed && value <= 0) || (value >= 2 && value <= 76))
        return true;
    return Fail(prompt, kTopRangeText, kTopDiameterCaption);
}

int CurrentLocalYear() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_year + 1900;
}

} // namespace

bool IsDispositionCode(const std::string& code) {
    static const std::array<std::string, 6> codes{"CTL", "CTP", "DTL", "DTP", "FMA", ""};
    for (const auto& c : codes)
        if (code == c)
            return true;
    return false;
}

bool CheckDisposition(const std::string& disposition, const std::string& source, Prompt& prompt) {
    const std::string d = Trimmed(disposition.substr(0, 3));
    if (d.empty())
        return true;
    if (HasNonBlank(source))
        return Fail(prompt, kBothValuesText, kDispositionCaption);
    if (!IsDispositionCode(d))
        return Fail(prompt, "Valid Dispositions: CTL,CTP,DTL,DTP,FMA,<blank>", kDispositionCaption);
    return true;
}

bool CheckSource(const std::string& disposition, const std::string& source, Prompt& prompt) {
    const std::string s = source.substr(0, 3);
    if (s.empty())
        return true;
    if (HasNonBlank(disposition))
        return Fail(prompt, kBothValuesText, kDispositionCaption);
    if (IsDispositionCode(s))
        return Fail(prompt, "Source field cannot contain dispositions: CTL,CTP,DTL,DTP,FMA",
                    "Source Error:");
    return true;
}

bool CheckScalerName(const std::string& text, Prompt& prompt) {
    return HasNonBlank(text) || Fail(prompt, "Scaler Name must have a value", kScalerCaption);
}

bool CheckScalerPermit(const std::string& text, Prompt& prompt) {
    return HasNonBlank(text) || Fail(prompt, "Scaler Permit must have a value", kScalerCaption);
}

bool CheckHeaderTopDiameter(int value, Prompt& prompt) {
    return CheckTopDiameterRange(value, false, prompt);
}

bool CheckDefaultTopDiameter(int value, Prompt& prompt) {
    return CheckTopDiameterRange(value, true, prompt);
}

bool CheckDefaultLength(int value, Prompt& prompt) {
    constexpr const char* caption = "Log Length Error:";
    if (!IsEven(value))
        return Fail(prompt, "Log Length must be an even number", caption);
    if (value <= 0 || (value >= 6 && value <= 72))
        return true;
    return Fail(prompt, "Log Length must be between 6 and 72 (inclusive)", caption);
}

bool CheckVolumeMethod(const std::string& selectorText, Prompt& prompt) {
    return !selectorText.empty() || Fail(prompt, "Volume Calculation Method must be defined.",
                                         "Volume Calculation Method Error:");
}

bool CheckDateWeighed(Date date, Prompt& prompt) {
    return CheckDateWeighed(date, CurrentLocalYear(), prompt);
}

bool CheckDateWeighed(Date date, int currentYear, Prompt& prompt) {
    constexpr const char* caption = "Date Weighed Error:";
    int year = 0, month = 0, day = 0;
    date.toYmd(year, month, day);
    if (year > currentYear)
        return Fail(prompt,
                    "Year portion of Date Weighed must be less then or equal to current year",
                    caption);
    if (year < 1900)
        return Fail(prompt, "Date Weighed must be later than 1900", caption);
    return true;
}

} // namespace brimlo
