#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace brimlo {

// One line of a load file as the reader sees it. length counts the line end
// as one character, as the original record lengths were defined; text holds
// the characters before it.
struct LoadFileLine {
    std::string text;
    std::size_t length = 0;
    std::size_t number = 0; // 1 for the first line
    // A NUL byte stands somewhere in the line: the line cannot be taken as
    // text, and the reader refuses it rather than lose what follows.
    bool hasNul = false;

    // Characters from..to (1-based, inclusive), those before the line end only.
    std::string chars(std::size_t from, std::size_t to) const;
    // The character at pos, or '\0' past the text.
    char at(std::size_t pos) const;
};

// The longest line one read takes, line end included; longer lines go on
// in the next read.
inline constexpr std::size_t kMaxLineRead = 1023;

// Splits file bytes into lines: a carriage return and line feed, a lone
// line feed or a lone carriage return ends a line. A UTF-8 byte-order mark
// that an editor put before the first line is not part of it.
std::vector<LoadFileLine> SplitLoadFileLines(const std::string& bytes);

} // namespace brimlo
