#include "support/BrimloError.h"

namespace brimlo {

BrimloError::BrimloError(const std::string& text) : std::runtime_error(text), text_(text) {}

std::string WithFullStop(const std::string& text) {
    if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.'))
        return text + ".";
    return text;
}

} // namespace brimlo
