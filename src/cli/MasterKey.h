#pragma once

#include <cstdint>
#include <string>

namespace brimlo::cli {

// The key of a master record as the tool writes and reads it:
// MILLCODE:POP:LOADNUM ("AB:1:123").
struct MasterKey {
    std::string millCode;
    int16_t pop = 0;
    int32_t loadNum = 0;

    std::string text() const;
    // Raises UsageError when the text is no key.
    static MasterKey Parse(const std::string& text);
};

} // namespace brimlo::cli
