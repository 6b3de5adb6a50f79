#include "shell/TfrmRanges.h"

#include "shell/ChildPlacement.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <initializer_list>

namespace brimlo {

namespace {

QLabel* Text(const char* text, bool bold = false) {
    auto* label = new QLabel;
    label->setTextFormat(Qt::PlainText);
    label->setText(QString::fromLatin1(text));
    if (bold) {
        // Only the weight is set: size and family come from the window.
        QFont font;
        font.setBold(true);
        label->setFont(font);
    }
    return label;
}

// A bold heading with its lines beneath, in a column of its own.
QWidget* Block(const char* heading, std::initializer_list<const char*> lines) {
    auto* block = new QWidget;
    auto* column = new QVBoxLayout(block);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(Text(heading, true));
    for (const char* line : lines)
        column->addWidget(Text(line));
    column->addStretch();
    return block;
}

// The value stands under its caption, which keeps the column narrow.
QWidget* ValidRanges() {
    auto* block = new QWidget;
    auto* column = new QVBoxLayout(block);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(Text("Valid Ranges", true));
    const char* captions[] = {"Butt Diameter (cm):", "Top Diameter (cm):", "Log Length (dm):"};
    const char* values[] = {"8 To 150", "2 To 76", "6 To 72"};
    for (int i = 0; i < 3; ++i) {
        column->addWidget(Text(captions[i], true));
        column->addWidget(Text(values[i]));
    }
    column->addStretch();
    return block;
}

QWidget* AllowedMethods() {
    auto* block = new QWidget;
    auto* grid = new QGridLayout(block);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(0);
    grid->addWidget(Text("Allowed Cull Methods", true), 0, 0, 1, 2);
    grid->addWidget(Text("Alberta Cubic", true), 1, 0);
    grid->addWidget(Text("Smalian", true), 1, 1);
    const char* alberta[] = {"2,3,4,5,6,7", "8",         "1,2,3,4,5,7", "2,3,4,5,7",
                             "2,3,4,7",     "2,3,4,5,7", "2,3,4,5,7"};
    const char* smalian[] = {"2,3,4,5,6,7", "3,4,5,7,8", "1,2,3,4,5,7", "2,3,4,5,7",
                             "2,3,4,7",     "2,3,4,5,7", "2,3,4,5,7"};
    for (int i = 0; i < 7; ++i) {
        grid->addWidget(Text(alberta[i]), i + 2, 0);
        grid->addWidget(Text(smalian[i]), i + 2, 1);
    }
    grid->setRowStretch(9, 1);
    return block;
}

} // namespace

// Four columns; the species fill the first, the others hold two blocks each.
TfrmRanges::TfrmRanges(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Codes, Values, and Ranges"));
    resize(630, 405);
    // Four columns of the longest texts fit the width in an 8-point font.
    QFont small = font();
    small.setPointSize(8);
    setFont(small);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);
    grid->addWidget(Block("Species Codes", {"S  - Spruce",
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
                                            "OD - Other Deciduous"}),
                    0, 0, 2, 1);
    grid->addWidget(
        Block("Condition Codes", {"GR - Green", "D  - Dead", "BD - Blowdown", "FK - Fire Killed",
                                  "ID - Insect Damaged", "BK - Beetle Killed", "EN - Endangered",
                                  "IS - Industrial Salvage", "OD - Other Damage"}),
        0, 1);
    grid->addWidget(
        Block("Product Codes",
              {"01 - Conifer Sawlogs & Pulp", "02 - Deciduous Pulpwood", "05 - Class B Posts",
               "06 - Small Stem Conifer", "13 - Chips", "14 - Veneer", "18 - Oriented Strand Board",
               "19 - Laminated Veneer Lumber", "20 - Fuelwoods", "99 - Undersize"}),
        0, 2);
    grid->addWidget(ValidRanges(), 0, 3);
    grid->addWidget(
        Block("Cull Types", {"1 - Heart Rot", "2 - End Rot", "3 - Sap Rot", "4 - Cat Face",
                             "5 - Crook", "6 - Shake & Cracks", "7 - Crotch"}),
        1, 1);
    grid->addWidget(AllowedMethods(), 1, 2);
    grid->addWidget(
        Block("Cull Methods",
              {"1 - Diameter Reduction", "2 - Length Reduction", "3 - Percentage Reduction",
               "4 - Fractions Reduction", "5 - Blocking Out Reduction",
               "6 - Internal Log Reduction", "7 - Cube Cull Reduction", "8 - End Rot Reduction"}),
        1, 3);
}

void TfrmRanges::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (placed_)
        return;
    placed_ = true;
    PlaceChildWindow(this, 630, 405);
}

} // namespace brimlo
