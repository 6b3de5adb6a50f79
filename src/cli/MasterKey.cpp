#include "cli/MasterKey.h"

#include "cli/CliArguments.h"

#include <charconv>
#include <limits>

namespace brimlo::cli {

namespace {

template <typename Int> Int WholeNumber(const std::string& text, const std::string& whole) {
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        value < std::numeric_limits<Int>::min() || value > std::numeric_limits<Int>::max())
        throw UsageError("'" + whole + "' is no MILLCODE:POP:LOADNUM key");
    return static_cast<Int>(value);
}

} // namespace

std::string MasterKey::text() const {
    return millCode + ':' + std::to_string(pop) + ':' + std::to_string(loadNum);
}

MasterKey MasterKey::Parse(const std::string& text) {
    const std::size_t first = text.find(':');
    const std::size_t second = first == std::string::npos ? first : text.find(':', first + 1);
    if (second == std::string::npos)
        throw UsageError("'" + text + "' is no MILLCODE:POP:LOADNUM key");
    MasterKey key;
    key.millCode = text.substr(0, first);
    key.pop = WholeNumber<int16_t>(text.substr(first + 1, second - first - 1), text);
    key.loadNum = WholeNumber<int32_t>(text.substr(second + 1), text);
    return key;
}

} // namespace brimlo::cli
