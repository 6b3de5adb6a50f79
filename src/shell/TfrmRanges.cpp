#include "shell/TfrmRanges.h"

#include "shell/ChildPlacement.h"
#include "shell/HelpText.h"

#include <QFontDatabase>
#include <initializer_list>

namespace brimlo {

namespace {

constexpr int kLine = 15;

// A bold heading with its lines beneath; answers the y below the block.
int Block(QWidget* parent, const char* heading, std::initializer_list<const char*> lines, int x,
          int y) {
    HelpLabel(parent, QString::fromLatin1(heading), x, y, true);
    y += kLine + 4;
    for (const char* line : lines) {
        QLabel* label = HelpLabel(parent, QString::fromLatin1(line), x, y);
        // Codes line up under one another.
        label->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        label->adjustSize();
        label->move(x, y);
        y += kLine;
    }
    return y;
}

void ValidRanges(QWidget* parent, int x, int y) {
    HelpLabel(parent, QStringLiteral("Valid Ranges"), x, y, true);
    const char* captions[] = {"Butt Diameter (cm):", "Top Diameter (cm):", "Log Length (dm):"};
    const char* values[] = {"8 To 150", "2 To 76", "6 To 72"};
    for (int i = 0; i < 3; ++i) {
        y += kLine + 4;
        HelpLabel(parent, QString::fromLatin1(captions[i]), x, y, true);
        HelpLabel(parent, QString::fromLatin1(values[i]), x + 120, y);
    }
}

void AllowedMethods(QWidget* parent, int x, int y) {
    HelpLabel(parent, QStringLiteral("Allowed Cull Methods"), x, y, true);
    y += kLine + 4;
    HelpLabel(parent, QStringLiteral("Alberta Cubic"), x, y, true);
    HelpLabel(parent, QStringLiteral("Smalian"), x + 85, y, true);
    const char* alberta[] = {"2,3,4,5,6,7", "8",         "1,2,3,4,5,7", "2,3,4,5,7",
                             "2,3,4,7",     "2,3,4,5,7", "2,3,4,5,7"};
    const char* smalian[] = {"2,3,4,5,6,7", "3,4,5,7,8", "1,2,3,4,5,7", "2,3,4,5,7",
                             "2,3,4,7",     "2,3,4,5,7", "2,3,4,5,7"};
    for (int i = 0; i < 7; ++i) {
        y += kLine;
        HelpLabel(parent, QString::fromLatin1(alberta[i]), x, y);
        HelpLabel(parent, QString::fromLatin1(smalian[i]), x + 85, y);
    }
}

} // namespace

TfrmRanges::TfrmRanges(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Codes, Values, and Ranges"));
    resize(630, 405);
    Block(this, "Species Codes",
          {"S  - Spruce",
           "P  - Pine",
           "F  - Balsam Fir",
           "A  - Aspen",
           "PB - Black Poplar",
           "B  - Birch",
           "SP - Spruce / Pine",
           "AB - Aspen / Poplar",
           "FA - Alpine Fir",
           "PW - Whitebark Pine",
           "LT - Larch",
           "SB - Black Spruce",
           "DF - Douglas Fir",
           "SE - Engelmann Spruce",
           "PF - Limber Pine",
           "IC - Incidental Coniferous",
           "ID - Incidental Deciduous",
           "IF - Incidental Fir",
           "OC - Other Coniferous",
           "OD - Other Deciduous"},
          8, 8);
    Block(this, "Condition Codes",
          {"GR - Green", "D  - Dead", "BD - Blowdown", "FK - Fire Killed", "ID - Insect Damaged",
           "BK - Beetle Killed", "EN - Endangered", "IS - Industrial Salvage", "OD - Other Damage"},
          200, 8);
    Block(this, "Product Codes",
          {"01 - Conifer Sawlogs & Pulp", "02 - Deciduous Pulpwood", "05 - Class B Posts",
           "06 - Small Stem Conifer", "13 - Chips", "14 - Veneer", "18 - Oriented Strand Board",
           "19 - Laminated Veneer Lumber", "20 - Fuelwoods", "99 - Undersize"},
          360, 8);
    ValidRanges(this, 560, 8);
    Block(this, "Cull Types",
          {"1 - Heart Rot", "2 - End Rot", "3 - Sap Rot", "4 - Cat Face", "5 - Crook",
           "6 - Shake & Cracks", "7 - Crotch"},
          200, 200);
    AllowedMethods(this, 360, 200);
    Block(this, "Cull Methods",
          {"1 - Diameter Reduction", "2 - Length Reduction", "3 - Percentage Reduction",
           "4 - Fractions Reduction", "5 - Blocking Out Reduction", "6 - Internal Log Reduction",
           "7 - Cube Cull Reduction", "8 - End Rot Reduction"},
          560, 200);
}

void TfrmRanges::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (placed_)
        return;
    placed_ = true;
    PlaceChildWindow(this, 630, 405);
}

} // namespace brimlo
