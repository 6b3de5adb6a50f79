#pragma once

#include <cstdint>

namespace brimlo {

inline constexpr const char* kActLengthRangeText =
    "The Act Length must be a value between 51 and 745 cm.";

// The scaled length in dm (always even) of an actual length in cm, after
// the trim allowance of its band. Raises BrimloError outside 51..745 cm.
int32_t ActualLengthToLength(int32_t actualCm);

} // namespace brimlo
