#include "load/LoadFileLines.h"

#include <string_view>

namespace brimlo {

namespace {

// One read: up to kMaxLineRead characters, through the first line end.
std::string NextRead(const std::string& bytes, std::size_t& pos) {
    std::string chunk;
    while (chunk.size() < kMaxLineRead && pos < bytes.size()) {
        char c = bytes[pos++];
        if (c == '\r') {
            // A lone carriage return ends a line as a line feed does.
            if (pos < bytes.size() && bytes[pos] == '\n')
                ++pos;
            c = '\n';
        }
        chunk += c;
        if (c == '\n')
            break;
    }
    return chunk;
}

LoadFileLine MakeLine(std::string chunk, std::size_t number) {
    LoadFileLine line;
    line.number = number;
    line.hasNul = chunk.find('\0') != std::string::npos;
    line.length = chunk.size();
    if (!chunk.empty() && chunk.back() == '\n')
        chunk.pop_back();
    line.text = std::move(chunk);
    return line;
}

} // namespace

std::string LoadFileLine::chars(std::size_t from, std::size_t to) const {
    if (from < 1 || from > text.size() || to < from)
        return {};
    return text.substr(from - 1, to - from + 1);
}

char LoadFileLine::at(std::size_t pos) const {
    return pos >= 1 && pos <= text.size() ? text[pos - 1] : '\0';
}

std::vector<LoadFileLine> SplitLoadFileLines(const std::string& bytes) {
    std::vector<LoadFileLine> lines;
    const std::string_view bom = "\xEF\xBB\xBF";
    std::size_t pos = std::string_view(bytes).substr(0, bom.size()) == bom ? bom.size() : 0;
    while (pos < bytes.size())
        lines.push_back(MakeLine(NextRead(bytes, pos), lines.size() + 1));
    return lines;
}

} // namespace brimlo
