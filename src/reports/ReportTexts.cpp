#include "reports/ReportTexts.h"

#include "rules/NumberFormat.h"
#include "support/Cp1252.h"

#include <QLatin1Char>

namespace brimlo {

namespace {

QDate& StartDate() {
    static QDate date = QDate::currentDate();
    return date;
}

// Noted as the program loads, before any window exists.
[[maybe_unused]] const QDate& kNotedAtStart = StartDate();

// Distances of the header block's lines below its first caption line.
constexpr double kValues1 = 4.7;
constexpr double kRule = 10.8;
constexpr double kCaptions2 = 14.5;
constexpr double kValues2 = 19.8;

void AddFirstLine(ReportBand& band, const HeaderBlockTexts& t, double top) {
    band.text(0.8, top, QStringLiteral("Lessee, License, Permit"), kBoldFont)
        .text(43.7, top, QStringLiteral("Mill"), kBoldFont)
        .text(87.6, top, QStringLiteral("Disposition"), kBoldFont)
        .text(108.7, top, QStringLiteral("Sub Disp."), kBoldFont)
        .text(128.1, top, QStringLiteral("Mill No."), kBoldFont)
        .text(147.9, top, QStringLiteral("Load"), kBoldFont)
        .text(158.8, top, QStringLiteral("Small Sawlogs Calc"), kBoldFont);
    const double y = top + kValues1;
    band.text(0.8, y, t.lessee)
        .text(43.1, y, t.millName)
        .text(88.4, y, t.disp)
        .text(111.4, y, t.subDisp)
        .text(127.5, y, QStringLiteral("M"))
        .rightText(143.1, y, t.millNum)
        .rightText(157.7, y, t.loadNum)
        .text(174.1, y, t.sawlogs);
}

void AddSecondLine(ReportBand& band, const HeaderBlockTexts& t, double top, bool topRight) {
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
    band.text(16.4, y, t.dateWeighed).text(38.9, y, t.pop);
    if (topRight)
        band.rightText(57.4, y, t.topD);
    else
        band.text(51.1, y, t.topD);
    band.text(65.9, y, t.netWeight)
        .text(91.8, y, t.tm9)
        .text(113.8, y, t.block)
        .text(125.7, y, t.species)
        .text(137.3, y, t.condition)
        .text(147.4, y, t.product)
        .text(159.0, y, t.source);
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
    band.text(0.8, y, ProgramStartDate().toString(QStringLiteral("yyyy/MM/dd")))
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
    AddFirstLine(band, texts, top);
    band.hRule(0.0, width, top + kRule);
    AddSecondLine(band, texts, top, topDiameterRightAligned);
}

} // namespace brimlo
