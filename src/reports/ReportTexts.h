#pragma once

#include "load/HeaderRecord.h"
#include "reports/ReportBand.h"
#include "support/Value.h"

#include <QDate>
#include <QString>
#include <cstdint>
#include <string>

namespace brimlo {

// The height of one printed line of a band, 18 layout pixels: bands with
// unused group slots shrink by whole lines.
inline constexpr double kSlotHeight = 18.0 * 25.4 / 96.0;

// The date printed in every page footer is the day the program started,
// set by the start-up of the program and of brimlo-cli; without it, the day
// the first footer was drawn.
void SetProgramStartDate(const QDate& date);
QDate ProgramStartDate();

// The page footer of every report: start date, program name, page number.
inline constexpr double kFooterHeight = 5.6;
ReportBand MakePageFooter(int pageNumber);

// Field values printed as the fields hold them.
QString FieldText(const std::string& cp1252);
QString NumberText(int64_t value);
// A floating-point field: its whole numbers without decimals.
QString NumberText(double value);
// "yyyy/mm/dd", nothing for a field without a date.
QString DateText(const Date& date);
// A value through a number picture such as "#0.000".
QString Formatted(double value, const char* picture);

// The load's header details as printed at the top of a load report and in
// each record of the master full report.
struct HeaderBlockTexts {
    QString lessee, millName, disp, subDisp, millNum, loadNum, sawlogs;
    QString dateWeighed, pop, topD, netWeight, tm9, block, species, condition, product, source;
};

// The header details of a load as its header record holds them.
HeaderBlockTexts LoadHeaderTexts(const HeaderRecord& header);

// Both caption lines with their values and the full-width rule between
// them, the first caption line standing `top` down the band.
void AddHeaderBlock(ReportBand& band, const HeaderBlockTexts& texts, double top, double width,
                    bool topDiameterRightAligned);

} // namespace brimlo
