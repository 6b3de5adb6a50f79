#include "reports/ReportTexts.h"

#include "rules/NumberFormat.h"
#include "support/Cp1252.h"

#include <QLatin1Char>
#include <QLocale>

namespace brimlo {

namespace {

// Set by the start-up; a report drawn without one is dated the day it was
// first drawn.
QDate& StartDate() {
    static QDate date = QDate::currentDate();
    return date;
}

// Distances of the header block's lines below its first caption line.
constexpr double kValues1 = 4.7;
constexpr double kRule = 10.8;
constexpr double kCaptions2 = 14.5;
constexpr double kValues2 = 19.8;

// Each left-aligned value is cut where the next column starts (its caption
// or its value, whichever stands further left), as the fixed-width labels
// of the layout cut them; the last column ends at the band's edge.
void AddFirstLine(ReportBand& band, const HeaderBlockTexts& t, double top, double width) {
    band.text(0.8, top, QStringLiteral("Lessee, License, Permit"), kBoldFont)
        .text(43.7, top, QStringLiteral("Mill"), kBoldFont)
        .text(87.6, top, QStringLiteral("Disposition"), kBoldFont)
        .text(108.7, top, QStringLiteral("Sub Disp."), kBoldFont)
        .text(128.1, top, QStringLiteral("Mill No."), kBoldFont)
        .text(147.9, top, QStringLiteral("Load"), kBoldFont)
        .text(158.8, top, QStringLiteral("Small Sawlogs Calc"), kBoldFont);
    const double y = top + kValues1;
    band.boxedText(0.8, y, 43.1 - 0.8, t.lessee)
        .boxedText(43.1, y, 87.6 - 43.1, t.millName)
        .boxedText(88.4, y, 108.7 - 88.4, t.disp)
        .boxedText(111.4, y, 127.5 - 111.4, t.subDisp)
        .text(127.5, y, QStringLiteral("M"))
        .rightText(143.1, y, t.millNum)
        .rightText(157.7, y, t.loadNum)
        .boxedText(174.1, y, width - 174.1, t.sawlogs);
}

void AddSecondLine(ReportBand& band, const HeaderBlockTexts& t, double top, double width,
                   bool topRight) {
    const double captions = top + kCaptions2;
    band.text(13.5, captions, QStringLiteral("Date Weighed"), kBoldFont)
        .text(39.2, captions, QStringLiteral("Pop"), kBoldFont)
        .text(51.1, captions, QStringLiteral("Top"), kBoldFont)
        .text(60.3, captions, QStringLiteral("Net Weight (Kg)"), kBoldFont)
        .text(90.5, captions, QStringLiteral("TM9 Number"), kBoldFont)
        .text(114.3, captions, QStringLiteral("Block"), kBoldFont)
        .text(125.9, captions, QStringLiteral("SP"), kBoldFont)
        .text(137.3, captions, QStringLiteral("CD"), kBoldFont)
        .text(146.8, captions, QStringLiteral("PR"), kBoldFont)
        .text(158.5, captions, QStringLiteral("Source"), kBoldFont);
    const double y = top + kValues2;
    band.boxedText(16.4, y, 38.9 - 16.4, t.dateWeighed).boxedText(38.9, y, 51.1 - 38.9, t.pop);
    if (topRight)
        band.rightText(57.4, y, t.topD);
    else
        band.boxedText(51.1, y, 60.3 - 51.1, t.topD);
    band.boxedText(65.9, y, 90.5 - 65.9, t.netWeight)
        .boxedText(91.8, y, 113.8 - 91.8, t.tm9)
        .boxedText(113.8, y, 125.7 - 113.8, t.block)
        .boxedText(125.7, y, 137.3 - 125.7, t.species)
        .boxedText(137.3, y, 146.8 - 137.3, t.condition)
        .boxedText(147.4, y, 158.5 - 147.4, t.product)
        .boxedText(159.0, y, width - 159.0, t.source);
}

// The start date in the system's regional short date format: the program
// notes it before it sets its own "yyyy/mm/dd" format for dates it shows.
QString StartDateText() {
    return QLocale().toString(ProgramStartDate(), QLocale::ShortFormat);
}

} // namespace

void SetProgramStartDate(const QDate& date) {
    StartDate() = date;
}

QDate ProgramStartDate() {
    return StartDate();
}

ReportBand MakePageFooter(int pageNumber) {
    constexpr double y = 0.5;
    ReportBand band(kFooterHeight);
    band.text(0.8, y, StartDateText())
        .text(90.5, y, QStringLiteral("BRIMLO"))
        .text(179.1, y, QStringLiteral("Page:"))
        .text(188.6, y, QString::number(pageNumber));
    return band;
}

QString FieldText(const std::string& cp1252) {
    return FromCp1252(cp1252);
}

QString NumberText(int64_t value) {
    return QString::number(value);
}

QString NumberText(double value) {
    return QString::number(value, 'g', 15);
}

QString DateText(const Date& date) {
    if (!date.valid())
        return {};
    int year = 0, month = 0, day = 0;
    date.toYmd(year, month, day);
    return QStringLiteral("%1/%2/%3")
        .arg(year, 4, 10, QLatin1Char('0'))
        .arg(month, 2, 10, QLatin1Char('0'))
        .arg(day, 2, 10, QLatin1Char('0'));
}

QString Formatted(double value, const char* picture) {
    return QString::fromStdString(FormatNumber(value, picture));
}

HeaderBlockTexts LoadHeaderTexts(const HeaderRecord& h) {
    HeaderBlockTexts t;
    t.lessee = FieldText(h.LESSEE);
    t.millName = FieldText(h.MILL_NAME);
    t.disp = FieldText(h.DISP);
    t.subDisp = FieldText(h.SUBDISP);
    t.millNum = NumberText(int64_t{h.MILL_NUM});
    t.loadNum = NumberText(int64_t{h.LOAD_NUM});
    t.sawlogs = FieldText(h.SAWLOGS);
    t.dateWeighed = DateText(h.DATEWEIGHED);
    t.pop = NumberText(int64_t{h.POP});
    t.topD = NumberText(int64_t{h.HTOPD});
    t.netWeight = NumberText(h.NETWEIGHT);
    t.tm9 = FieldText(h.TM9);
    t.block = FieldText(h.BLOCK_NUM);
    t.species = FieldText(h.HSPECIES);
    t.condition = FieldText(h.HCONDCODE);
    t.product = FieldText(h.HPRODCODE);
    t.source = FieldText(h.SOURCE);
    return t;
}

void AddHeaderBlock(ReportBand& band, const HeaderBlockTexts& texts, double top, double width,
                    bool topDiameterRightAligned) {
    AddFirstLine(band, texts, top, width);
    band.hRule(0.0, width, top + kRule);
    AddSecondLine(band, texts, top, width, topDiameterRightAligned);
}

} // namespace brimlo
