#include "rules/LogChecks.h"

#include "support/BrimloError.h"

namespace brimlo {

namespace {

void Require(bool passes, const char* text) {
    if (!passes)
        throw BrimloError(text);
}

bool IsEven(int value) {
    return value % 2 == 0;
}

bool ZeroOrWithin(int value, int low, int high) {
    return value <= 0 || (value >= low && value <= high);
}

} // namespace

void CheckTopDiameter(int top, int butt) {
    Require(IsEven(top), "Top Diameter must be an even number");
    Require(ZeroOrWithin(top, 2, 76), "Top Diameter must be between 2 and 76 (inclusive)");
    Require(butt <= 0 || top <= butt, "Top Diameter must be less than or equal to Butt Diameter");
}

void CheckLogLength(int length) {
    Require(IsEven(length), "Log Length must be an even number");
    Require(ZeroOrWithin(length, 6, 72), "Log Length must be between 6 and 72 (inclusive)");
}

void CheckButtDiameter(int butt, int top) {
    Require(IsEven(butt), "Butt Diameter must be an even number");
    Require(ZeroOrWithin(butt, 8, 150), "Butt Diameter must be between 8 and 150 (inclusive)");
    Require(butt <= 0 || butt >= top,
            "Butt Diameter must be greater than or equal to Top Diameter");
}

} // namespace brimlo
