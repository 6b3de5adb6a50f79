// Draws the program's icon, the sawn end of a log with its growth rings, once
// as SVG and once as a PNG per size, all from the one list of shapes below so
// the two never drift apart.
//
//   brimlo_icon_painter <output folder> <size>...
//
// writes <folder>/brimlo.svg and <folder>/brimlo-<size>.png.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace brimlo {
namespace {

constexpr double kCanvas = 256.0;

struct Disc {
    double cx, cy, r;
    const char* fill;   // nullptr: outline only
    const char* stroke; // nullptr: no outline
    double strokeWidth;
};

struct Stroke {
    double x1, y1, x2, y2;
    const char* colour;
    double width;
};

// Bark, sapwood, then the rings drawn around a pith a little off centre, as
// on most real logs.
const std::vector<Disc>& Discs() {
    static const std::vector<Disc> discs = {
        {128, 128, 122, "#5b3a1e", nullptr, 0}, {128, 128, 104, "#e8c083", nullptr, 0},
        {123, 133, 84, nullptr, "#b57b3c", 5},  {122, 134, 64, nullptr, "#b57b3c", 5},
        {121, 135, 45, nullptr, "#b57b3c", 5},  {121, 135, 27, nullptr, "#b57b3c", 5},
        {121, 135, 11, "#8a5424", nullptr, 0},
    };
    return discs;
}

// A drying check running in from the bark.
const std::vector<Stroke>& Strokes() {
    static const std::vector<Stroke> strokes = {
        {220, 59, 176, 92, "#5b3a1e", 6},
    };
    return strokes;
}

std::string SvgText() {
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
                      "viewBox=\"0 0 256 256\">\n";
    char line[256];
    for (const Disc& d : Discs()) {
        std::snprintf(line, sizeof line,
                      "  <circle cx=\"%g\" cy=\"%g\" r=\"%g\" fill=\"%s\" stroke=\"%s\" "
                      "stroke-width=\"%g\"/>\n",
                      d.cx, d.cy, d.r, d.fill ? d.fill : "none", d.stroke ? d.stroke : "none",
                      d.strokeWidth);
        svg += line;
    }
    for (const Stroke& s : Strokes()) {
        std::snprintf(line, sizeof line,
                      "  <line x1=\"%g\" y1=\"%g\" x2=\"%g\" y2=\"%g\" stroke=\"%s\" "
                      "stroke-width=\"%g\" stroke-linecap=\"round\"/>\n",
                      s.x1, s.y1, s.x2, s.y2, s.colour, s.width);
        svg += line;
    }
    return svg + "</svg>\n";
}

QImage Painted(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / kCanvas, size / kCanvas);
    for (const Disc& d : Discs()) {
        painter.setBrush(d.fill ? QBrush(QColor(d.fill)) : QBrush(Qt::NoBrush));
        painter.setPen(d.stroke ? QPen(QColor(d.stroke), d.strokeWidth) : QPen(Qt::NoPen));
        painter.drawEllipse(QPointF(d.cx, d.cy), d.r, d.r);
    }
    for (const Stroke& s : Strokes()) {
        painter.setPen(QPen(QColor(s.colour), s.width, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(s.x1, s.y1), QPointF(s.x2, s.y2));
    }
    return image;
}

} // namespace
} // namespace brimlo

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <output folder> <size>...\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    std::ofstream svg(folder + "/brimlo.svg", std::ios::binary | std::ios::trunc);
    svg << brimlo::SvgText();
    if (!svg.flush()) {
        std::fprintf(stderr, "cannot write %s/brimlo.svg\n", folder.c_str());
        return 1;
    }
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        const std::string png = folder + "/brimlo-" + std::to_string(size) + ".png";
        if (size <= 0 || !brimlo::Painted(size).save(QString::fromStdString(png), "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", png.c_str());
            return 1;
        }
    }
    return 0;
}
