#include "rules/CullChecks.h"

#include "rules/Cglobals.h"
#include "rules/CodeLists.h"
#include "support/BrimloError.h"

#include <algorithm>

namespace brimlo {

namespace {

void Require(bool passes, const char* text) {
    if (!passes)
        throw BrimloError(text);
}

constexpr const char* kNumeratorText = "Numerator(C1) has to be less than the Denominator(C2).";
constexpr const char* kCullLengthText =
    "Cull length has to be less than or equal to the log length.";

void CheckFractionC2(int c1, int c2) {
    if (c1 == 0) {
        Require(c2 == 0, "Need to enter a value for numerator(C1) first.");
        return;
    }
    Require(c2 != 0, "Denominator(C2) has to be greater than 0.");
    Require(c1 < c2, kNumeratorText);
}

void CheckEndRotC2(int c1, int c2) {
    // A rot as wide as the large end is accepted.
    if (c2 != 0)
        Require(c2 <= c1, "Cull diameter has to be less than the large end diameter.");
    else
        Require(c1 == 0, "Cull diameter has to be greater than 0.");
}

} // namespace

bool IsCullMethodAllowed(char volumeMethod, char cullType, char cullMethod) {
    const CodeList& allowed = CodeLists::Standard().allowedMethodsFor(cullType, volumeMethod);
    return std::any_of(allowed.begin(), allowed.end(), [cullMethod](const std::string& m) {
        return m.size() == 1 && m[0] == cullMethod;
    });
}

void CheckCullMethodForType(char volumeMethod, char cullType, char cullMethod,
                            std::string& methodField) {
    if (cullType == ' ') {
        methodField.clear();
        throw BrimloError("A cull type must be entered before the cull method");
    }
    if (IsCullMethodAllowed(volumeMethod, cullType, cullMethod))
        return;
    throw BrimloError("Invalid Cull Method '" + std::string(1, cullMethod) +
                      "' entered for Cull Type '" + std::string(1, cullType) + "'");
}

void CheckC1(char cullMethod, int c1, int c2, int topd, int length, int grossvol, int buttd,
             char volumeMethod) {
    switch (cullMethod) {
    case '1':
        return Require(c1 < topd, "Cull diameter has to be less than the top diameter.");
    case '2':
        return Require(c1 <= length, kCullLengthText);
    case '3':
        return Require(c1 <= 100, "Cull percentage has to be less than or equal to 100.");
    case '4':
        return Require(c2 <= 0 || c1 < c2, kNumeratorText);
    case '5':
        return Require(c1 <= 99, "Block Cull height has to be less than 100 cm.");
    case '6':
        return Require(c1 <= topd,
                       "Cull diameter has to be less than or equal to the top diameter.");
    case '7':
        return Require(c1 <= grossvol,
                       "Cubed Cull has to be less than or equal to the gross volume.");
    case '8':
        Require(c1 >= topd,
                "Large end log diameter has to be greater than or equal to the top diameter.");
        if (volumeMethod == 'S')
            Require(c1 <= buttd,
                    "Large end log diameter cannot be greater than the butt diameter.");
        return;
    default:
        return;
    }
}

void CheckC2(char cullMethod, int c1, int c2, int topd) {
    switch (cullMethod) {
    case '1':
        return Require(c2 < topd, "Cull diameter has to be less than the top diameter.");
    case '4':
        return CheckFractionC2(c1, c2);
    case '5':
        Require(c2 <= 99, "Block Cull width has to be less than 100 cm.");
        return Require(c2 != 0, "Block Cull width has to be greater than 0");
    case '8':
        return CheckEndRotC2(c1, c2);
    default:
        return;
    }
}

void CheckC3(char cullMethod, int c3, int length) {
    if (cullMethod == '5')
        Require(c3 != 0, "Block cull length has to be greater than 0.");
    if (cullMethod == '6')
        Require(c3 != 0, "Internal log cull length has to be greater than 0.");
    if (cullMethod == '5' || cullMethod == '6' || cullMethod == '8')
        Require(c3 <= length, kCullLengthText);
}

} // namespace brimlo
