#include "master/TfrmMasterMaintenance.h"

#include "master/FieldEdit.h"
#include "master/MasterFields.h"
#include "master/PolicyKeyPress.h"
#include "master/RecordNavigator.h"
#include "rules/NumberFormat.h"
#include "support/BrimloError.h"
#include "support/Dataset.h"
#include "support/Prompt.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

namespace brimlo {

namespace {

// The window only shows the master: its edits take no typing, and Enter
// goes on to the window, which moves the focus on.
FieldEdit* ShowingEdit(Dataset& master, Prompt& prompt, int field, std::string picture = {}) {
    auto* edit =
        new FieldEdit(nullptr, master.fields().at(static_cast<size_t>(field)).name, prompt);
    edit->keys.enterAsTab = false;
    edit->bindShowing(master, std::move(picture));
    return edit;
}

struct HeaderControl {
    const char* name;
    const char* caption;
    int field;
};

// In tab order, three lines of six, six and five.
constexpr HeaderControl kHeader[] = {
    {"edtMillName", "Mill Location or Name", kMasterMillName},
    {"edtLessee", "Lessee, License, Permit", kMasterLessee},
    {"edtDisp", "Disposition", kMasterDisp},
    {"edtSubDisp", "Sub Disp", kMasterSubDisp},
    {"edtSource", "Source", kMasterSource},
    {"edtDate", "Date Weighed", kMasterWeighDate},
    {"edtPop", "Population", kMasterPop},
    {"edtTopD", "Top", kMasterTopD},
    {"edtNetWeight", "Net Weight (Kg)", kMasterNetWeight},
    {"edtTm9", "TM9 Number", kMasterTm9},
    {"edtMillNum", "Mill No", kMasterMillNum},
    {"edtBlockNum", "Block", kMasterBlockNum},
    {"edtLoadNum", "Load", kMasterLoadNum},
    {"edtSawlogs", "Small Sawlogs", kMasterSawlogs},
    {"edtSpecies", "SP", kMasterHSpecies},
    {"edtCondCode", "CD", kMasterHCondCode},
    {"edtProdCode", "PR", kMasterHProdCode},
};
constexpr int kPerLine = 6;

struct GroupColumn {
    const char* name;
    const char* heading;
    MasterGroupField field;
    const char* picture;
};

constexpr GroupColumn kGroupColumns[7] = {
    {"edtSpCdPr", "SP     CD     PR", kGroupSpCdPr, ""},
    {"edtLogs", "Logs", kGroupLogNums, ""},
    {"edtLength", "Length", kGroupLength, "#0.0"},
    {"edtGrossVol", "Gross Vol", kGroupGrossVol, "#0.000"},
    {"edtCullVol", "Cull Vol", kGroupCullVol, "#0.000"},
    {"edtNetVol", "Net Vol", kGroupNetVol, "#0.000"},
    {"edtCullPer", "Cull %", kGroupCullPer, "#0.00"},
};

QLabel* Bold(const char* text) {
    auto* label = new QLabel(QString::fromLatin1(text));
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

std::string Label(const Dataset& master) {
    return "Record: " + std::to_string(master.recNo()) + " of " +
           std::to_string(master.recordCount());
}

} // namespace

TfrmMasterMaintenance::TfrmMasterMaintenance(Dataset& master, Prompt& prompt,
                                             MaintenanceCallbacks callbacks, QWidget* parent)
    : QWidget(parent), master_(master), prompt_(prompt), callbacks_(std::move(callbacks)) {
    setObjectName(QStringLiteral("frmMasterMaintenance"));
    setWindowTitle(QStringLiteral("Master File Maintenance"));
    resize(630, 455);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(2);
    layout->setContentsMargins(4, 4, 4, 4);
    // The window keeps its size; the edits share the width.
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->addWidget(buildHeader());
    layout->addWidget(Bold("Summary"));
    layout->addWidget(buildSummary());
    layout->addWidget(buildTotals());
    layout->addWidget(buildStatistics());
    layout->addWidget(buildNavigator());
    layout->addStretch();
    lblMasterDisplay_->setText(Text(Label(master_)));
    if (callbacks_.followMoves)
        follower_.attach(master_, [this](DataEvent event, int) {
            if (event == DataEvent::DataSetChange)
                masterMoved(Label(master_), active_);
        });
}

TfrmMasterMaintenance::~TfrmMasterMaintenance() = default;

// --- building ----------------------------------------------------------------

FieldEdit* TfrmMasterMaintenance::addField(QGridLayout* grid, int column, const char* caption,
                                           const char* name, int field) {
    FieldEdit* edit = ShowingEdit(master_, prompt_, field);
    edit->setObjectName(QString::fromLatin1(name));
    grid->addWidget(new QLabel(QString::fromLatin1(caption)), 0, column);
    grid->addWidget(edit, 1, column);
    return edit;
}

// Each line lays out its own columns, so a long caption widens only its own.
QWidget* TfrmMasterMaintenance::buildHeader() {
    auto* header = new QWidget;
    auto* lines = new QVBoxLayout(header);
    lines->setContentsMargins(0, 0, 0, 0);
    lines->setSpacing(2);
    QGridLayout* grid = nullptr;
    int column = 0;
    for (const HeaderControl& control : kHeader) {
        if (column % kPerLine == 0) {
            grid = new QGridLayout;
            grid->setVerticalSpacing(0);
            grid->setHorizontalSpacing(8);
            lines->addLayout(grid);
        }
        addField(grid, column % kPerLine, control.caption, control.name, control.field);
        ++column;
    }
    return header;
}

QScrollArea* TfrmMasterMaintenance::buildSummary() {
    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("scrollSummary"));
    scroll->setFixedHeight(147);
    scroll->setWidgetResizable(true);
    auto* rows = new QWidget;
    auto* grid = new QGridLayout(rows);
    grid->setVerticalSpacing(1);
    for (int c = 0; c < 7; ++c)
        grid->addWidget(new QLabel(QString::fromLatin1(kGroupColumns[c].heading)), 0, c);
    for (int n = 1; n <= 12; ++n) {
        for (int c = 0; c < 7; ++c) {
            const GroupColumn& column = kGroupColumns[c];
            FieldEdit* edit = ShowingEdit(master_, prompt_, MasterGroupFieldIndex(n, column.field),
                                          column.picture);
            edit->setObjectName(QString::fromLatin1(column.name) + QString::number(n));
            grid->addWidget(edit, n, c);
            groupRows_[static_cast<size_t>(c)][static_cast<size_t>(n - 1)] = edit;
        }
    }
    // The rows stay together at the top, however few are shown.
    grid->setRowStretch(13, 1);
    scroll->setWidget(rows);
    return scroll;
}

QLineEdit* TfrmMasterMaintenance::addComputed(QGridLayout* grid, int row, int column,
                                              const char* name) {
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(true);
    grid->addWidget(edit, row, column);
    return edit;
}

QWidget* TfrmMasterMaintenance::buildTotals() {
    auto* totals = new QWidget;
    auto* grid = new QGridLayout(totals);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(Bold("Totals:"), 0, 0);
    edtTotalLogs_ = addComputed(grid, 0, 1, "edtTotalLogs");
    edtTotalLength_ = addComputed(grid, 0, 2, "edtTotalLength");
    edtTotalGVol_ = addComputed(grid, 0, 3, "edtTotalGVol");
    edtTotalCVol_ = addComputed(grid, 0, 4, "edtTotalCVol");
    edtTotalNVol_ = addComputed(grid, 0, 5, "edtTotalNVol");
    edtTotalCullPer_ = addComputed(grid, 0, 6, "edtTotalCullPer");
    return totals;
}

QWidget* TfrmMasterMaintenance::buildStatistics() {
    auto* statistics = new QWidget;
    auto* grid = new QGridLayout(statistics);
    grid->setContentsMargins(0, 0, 0, 0);
    const char* captions[] = {"Trees", "Gross M3/Trees", "Avg Log Size (M3/M)",
                              "Wt/Vol Conv. (Kg/M3)"};
    for (int i = 0; i < 4; ++i)
        grid->addWidget(new QLabel(QString::fromLatin1(captions[i])), 0, i);
    edtTrees_ = addComputed(grid, 1, 0, "edtTrees");
    edtVolperTrees_ = addComputed(grid, 1, 1, "edtVolperTrees");
    edtLogSize_ = addComputed(grid, 1, 2, "edtLogSize");
    edtWt_per_Vol_ = addComputed(grid, 1, 3, "edtWt_per_Vol");
    return statistics;
}

QWidget* TfrmMasterMaintenance::buildNavigator() {
    using Step = RecordNavigator::Step;
    auto* line = new QWidget;
    auto* row = new QHBoxLayout(line);
    row->setContentsMargins(0, 0, 0, 0);
    auto* nav = new RecordNavigator([this](Step step) { navigate(step); });
    nav->setObjectName(QStringLiteral("navMaster"));
    nav->addButton(Step::First, "btnFirst", "|<", "Move to First Master record");
    nav->addButton(Step::Prior, "btnPrior", "<", "Move to Prior Master record");
    nav->addButton(Step::Next, "btnNext", ">", "Move to Next Master record");
    nav->addButton(Step::Last, "btnLast", ">|", "Move to Last Master record");
    nav->addButton(Step::Delete, "btnDelete", "-", "Delete Master record");
    row->addWidget(nav);
    lblMasterDisplay_ = new QLabel;
    lblMasterDisplay_->setObjectName(QStringLiteral("lblMasterDisplay"));
    row->addWidget(lblMasterDisplay_);
    row->addStretch();
    return line;
}

QToolButton* TfrmMasterMaintenance::navButton(const char* objectName) const {
    return findChild<QToolButton*>(QString::fromLatin1(objectName));
}

FieldEdit* TfrmMasterMaintenance::groupEdit(int column, int n) const {
    return groupRows_.at(static_cast<size_t>(column)).at(static_cast<size_t>(n - 1));
}

// --- totals --------------------------------------------------------------------

void TfrmMasterMaintenance::RefreshMasterTotals() {
    refreshPending_ = false;
    if (master_.isEmpty())
        return;
    // A damaged record may claim more groups than there are rows.
    const int groups = std::clamp(master_.field(kMasterNumGroups).asInt(), 0, 12);
    for (int n = 1; n <= 12; ++n)
        for (auto& column : groupRows_)
            column[static_cast<size_t>(n - 1)]->setVisible(n <= groups);
    showTotals(groups);
}

void TfrmMasterMaintenance::showTotals(int groups) {
    long long logs = 0;
    double length = 0, gross = 0, cull = 0, net = 0;
    for (int n = 1; n <= groups; ++n) {
        logs += master_.field(MasterGroupFieldIndex(n, kGroupLogNums)).asInt();
        length += master_.field(MasterGroupFieldIndex(n, kGroupLength)).asDouble();
        gross += master_.field(MasterGroupFieldIndex(n, kGroupGrossVol)).asDouble();
        cull += master_.field(MasterGroupFieldIndex(n, kGroupCullVol)).asDouble();
        net += master_.field(MasterGroupFieldIndex(n, kGroupNetVol)).asDouble();
    }
    const double cullPercent = gross != 0 ? cull / gross * 100 : 0;
    edtTotalLogs_->setText(QString::number(logs));
    edtTotalLength_->setText(Text(FormatNumber(length, "#0.0")));
    edtTotalGVol_->setText(Text(FormatNumber(gross, "#0.000")));
    edtTotalCVol_->setText(Text(FormatNumber(cull, "#0.000")));
    edtTotalNVol_->setText(Text(FormatNumber(net, "#0.000")));
    edtTotalCullPer_->setText(Text(FormatNumber(cullPercent, "#0.00")));
    showStatistics(gross, length, net);
}

// Each quotient shows 0 in its picture when its divisor is 0.
void TfrmMasterMaintenance::showStatistics(double gross, double length, double net) {
    const int trees = master_.field(kMasterTrees).asInt();
    const double netWeight = master_.field(kMasterNetWeight).asDouble();
    edtTrees_->setText(QString::number(trees));
    edtVolperTrees_->setText(Text(FormatNumber(trees != 0 ? gross / trees : 0, "#0.0000")));
    edtLogSize_->setText(Text(FormatNumber(length != 0 ? gross / length + 0.00001 : 0, "#0.000")));
    edtWt_per_Vol_->setText(Text(FormatNumber(net != 0 ? netWeight / net : 0, "#0.000")));
}

// --- the main window's side ------------------------------------------------------

void TfrmMasterMaintenance::masterMoved(const std::string& recordLabel, bool active) {
    if (active)
        RefreshMasterTotals();
    else
        refreshPending_ = true;
    lblMasterDisplay_->setText(Text(recordLabel));
}

void TfrmMasterMaintenance::activated() {
    active_ = true;
    if (callbacks_.enableReportCurrent)
        callbacks_.enableReportCurrent(true);
    if (refreshPending_)
        RefreshMasterTotals();
}

void TfrmMasterMaintenance::deactivated() {
    active_ = false;
    if (callbacks_.enableReportCurrent)
        callbacks_.enableReportCurrent(false);
}

void TfrmMasterMaintenance::save() {
    try {
        if (master_.isEditing())
            master_.post();
    } catch (const std::exception& e) {
        prompt_.error(e.what());
    }
}

// Activation comes from the frame the main window puts around this window.
bool TfrmMasterMaintenance::event(QEvent* event) {
    if (event->type() == QEvent::ParentChange)
        watchFrame();
    return QWidget::event(event);
}

void TfrmMasterMaintenance::watchFrame() {
    auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (!frame || watching_)
        return;
    watching_ = true;
    connect(frame, &QMdiSubWindow::windowStateChanged, this,
            [this](Qt::WindowStates before, Qt::WindowStates now) {
                const bool was = before.testFlag(Qt::WindowActive);
                const bool is = now.testFlag(Qt::WindowActive);
                if (is && !was)
                    activated();
                else if (was && !is)
                    deactivated();
            });
}

// Enter moves on as Tab does; the edits are read-only, so that is all.
void TfrmMasterMaintenance::keyPressEvent(QKeyEvent* event) {
    PolicyKeyPress(*this, KeyPolicy{}, event,
                   [this](QKeyEvent* key) { QWidget::keyPressEvent(key); });
}

void TfrmMasterMaintenance::closeEvent(QCloseEvent* event) {
    deactivated();
    QWidget::closeEvent(event);
}

// --- navigator -----------------------------------------------------------------

void TfrmMasterMaintenance::move(void (Dataset::*step)()) {
    try {
        (master_.*step)();
    } catch (const std::exception& e) {
        prompt_.error(e.what());
    }
}

void TfrmMasterMaintenance::navigate(RecordNavigator::Step step) {
    switch (step) {
    case RecordNavigator::Step::First:
        move(&Dataset::first);
        break;
    case RecordNavigator::Step::Prior:
        move(&Dataset::prior);
        break;
    case RecordNavigator::Step::Next:
        move(&Dataset::next);
        break;
    case RecordNavigator::Step::Last:
        move(&Dataset::last);
        break;
    case RecordNavigator::Step::Delete:
        navDelete();
        break;
    }
}

void TfrmMasterMaintenance::navDelete() {
    if (master_.isEmpty())
        return;
    if (prompt_.ask("Delete record?", "Confirm", PromptButtons::YesNo) != PromptAnswer::Yes)
        return;
    move(&Dataset::remove);
    if (callbacks_.recordDeleted)
        callbacks_.recordDeleted();
}

} // namespace brimlo
