#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace brimlo::testing {

// One word as pdftotext -bbox finds it, in millimetres from the paper's
// top left corner.
struct PdfWord {
    std::string text;
    double left = 0.0, top = 0.0, right = 0.0, bottom = 0.0;
};

struct PdfPage {
    double width = 0.0, height = 0.0; // mm
    std::vector<PdfWord> words;

    // Every word with this text.
    std::vector<PdfWord> all(const std::string& text) const;
    // The word with this text whose left edge (or right edge) and top are
    // within the tolerance of the place given.
    std::optional<PdfWord> atLeft(const std::string& text, double left, double top,
                                  double tolerance = 0.5) const;
    std::optional<PdfWord> atRight(const std::string& text, double right, double top,
                                   double tolerance = 0.5) const;
    // The words standing on the line whose top is given, left to right.
    std::vector<PdfWord> line(double top, double tolerance = 0.5) const;
    bool contains(const std::string& text) const { return !all(text).empty(); }
};

// Runs pdftotext -bbox on the file and reads its words page by page.
std::vector<PdfPage> ReadPdfWords(const std::filesystem::path& pdf);

} // namespace brimlo::testing
