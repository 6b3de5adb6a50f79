#include "PdfWords.h"

#include "common/FileBytes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <regex>
#include <stdexcept>

namespace brimlo::testing {

namespace {

constexpr double kMmPerPoint = 25.4 / 72.0;

std::string Unescape(std::string text) {
    const std::pair<const char*, const char*> entities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
    for (const auto& [entity, plain] : entities)
        text = std::regex_replace(text, std::regex(entity), plain);
    return text;
}

double Attribute(const std::string& tag, const std::string& name) {
    const std::regex pattern(name + "=\"([-0-9.]+)\"");
    std::smatch match;
    if (!std::regex_search(tag, match, pattern))
        throw std::runtime_error("pdftotext output without " + name);
    return std::stod(match[1].str()) * kMmPerPoint;
}

std::vector<PdfPage> ParseBbox(const std::string& html) {
    std::vector<PdfPage> pages;
    const std::regex tag(R"(<page [^>]*>|<word [^>]*>[^<]*</word>)");
    for (auto it = std::sregex_iterator(html.begin(), html.end(), tag);
         it != std::sregex_iterator(); ++it) {
        const std::string found = it->str();
        if (found.rfind("<page", 0) == 0) {
            pages.push_back({Attribute(found, "width"), Attribute(found, "height"), {}});
            continue;
        }
        if (pages.empty())
            throw std::runtime_error("pdftotext word outside a page");
        const std::size_t open = found.find('>');
        const std::size_t close = found.rfind("</word>");
        PdfWord word{Unescape(found.substr(open + 1, close - open - 1)), Attribute(found, "xMin"),
                     Attribute(found, "yMin"), Attribute(found, "xMax"), Attribute(found, "yMax")};
        pages.back().words.push_back(word);
    }
    return pages;
}

} // namespace

std::vector<PdfWord> PdfPage::all(const std::string& text) const {
    std::vector<PdfWord> found;
    std::copy_if(words.begin(), words.end(), std::back_inserter(found),
                 [&](const PdfWord& w) { return w.text == text; });
    return found;
}

std::optional<PdfWord> PdfPage::atLeft(const std::string& text, double left, double top,
                                       double tolerance) const {
    for (const PdfWord& w : all(text))
        if (std::fabs(w.left - left) <= tolerance && std::fabs(w.top - top) <= tolerance)
            return w;
    return std::nullopt;
}

std::optional<PdfWord> PdfPage::atRight(const std::string& text, double right, double top,
                                        double tolerance) const {
    for (const PdfWord& w : all(text))
        if (std::fabs(w.right - right) <= tolerance && std::fabs(w.top - top) <= tolerance)
            return w;
    return std::nullopt;
}

std::vector<PdfWord> PdfPage::line(double top, double tolerance) const {
    std::vector<PdfWord> found;
    std::copy_if(words.begin(), words.end(), std::back_inserter(found),
                 [&](const PdfWord& w) { return std::fabs(w.top - top) <= tolerance; });
    std::sort(found.begin(), found.end(),
              [](const PdfWord& a, const PdfWord& b) { return a.left < b.left; });
    return found;
}

std::vector<PdfPage> ReadPdfWords(const std::filesystem::path& pdf) {
    const std::filesystem::path html = pdf.string() + ".bbox.html";
    const std::string command = "pdftotext -bbox '" + pdf.string() + "' '" + html.string() + "'";
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("pdftotext failed on " + pdf.string());
    return ParseBbox(ReadBytes(html));
}

} // namespace brimlo::testing
