#pragma once

#include <stdexcept>
#include <string>

namespace brimlo {

// An error the user must see. Raised by checks, reactions and the table
// engine; caught at the window boundary and shown in the "BRIMLO" error box.
// The text is 8-bit (Windows-1252), like every text of the core.
class BrimloError : public std::runtime_error {
public:
    explicit BrimloError(const std::string& text);
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

// The application error box adds a full stop when the text's last character
// sorts above "." (so texts ending in "!" or "," or "." keep their ending).
std::string WithFullStop(const std::string& text);

} // namespace brimlo
