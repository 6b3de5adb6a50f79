#include "shell/TfrmDataEntry.h"

#include "load/LoadDocument.h"
#include "load/WorkspaceRecords.h"
#include "master/FieldEdit.h"
#include "master/GuardedCommand.h"
#include "rules/Cglobals.h"
#include "rules/CodeLists.h"
#include "rules/HeaderChecks.h"
#include "shell/ChildPlacement.h"
#include "shell/CompactComboStyle.h"
#include "shell/FieldCombo.h"
#include "shell/KeyOperations.h"
#include "shell/LogRowGrid.h"
#include "shell/TdlgGoToLog.h"
#include "support/Cp1252.h"
#include "support/LocalFileName.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace brimlo {

namespace {

EntryKey EntryKeyOf(const QKeyEvent* e) {
    static const std::map<int, EntryKey> keys = {
        {Qt::Key_Backtab, EntryKey::BackTab}, {Qt::Key_Return, EntryKey::Enter},
        {Qt::Key_Enter, EntryKey::Enter},     {Qt::Key_Escape, EntryKey::Esc},
        {Qt::Key_PageUp, EntryKey::PageUp},   {Qt::Key_PageDown, EntryKey::PageDown},
        {Qt::Key_Home, EntryKey::Home},       {Qt::Key_End, EntryKey::End},
        {Qt::Key_Up, EntryKey::Up},           {Qt::Key_Down, EntryKey::Down},
        {Qt::Key_Left, EntryKey::Left},       {Qt::Key_Right, EntryKey::Right},
        {Qt::Key_F1, EntryKey::F1},           {Qt::Key_F2, EntryKey::F2},
        {Qt::Key_F3, EntryKey::F3},           {Qt::Key_F4, EntryKey::F4},
        {Qt::Key_F5, EntryKey::F5},           {Qt::Key_F6, EntryKey::F6},
        {Qt::Key_F7, EntryKey::F7},           {Qt::Key_F8, EntryKey::F8},
        {Qt::Key_F9, EntryKey::F9},           {Qt::Key_F11, EntryKey::F11},
        {Qt::Key_F12, EntryKey::F12},
    };
    if (e->key() == Qt::Key_Tab)
        return ShiftHeld(e->modifiers()) ? EntryKey::BackTab : EntryKey::Tab;
    if (const auto found = keys.find(e->key()); found != keys.end())
        return found->second;
    return e->text() == QLatin1String("+") ? EntryKey::Plus : EntryKey::Other;
}

// The log row's first column, from the left of the grid.
constexpr int kRowLeft = 2;
// The status line and the headings above the grid.
constexpr int kTopBand = 46;
// Room an edit needs around its characters: frame and text margins.
constexpr int kEditPadding = 16;

QLabel* Caption(const char* text) {
    auto* label = new QLabel(QString::fromLatin1(text));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

// A navigator button as narrow as its caption allows.
void FitButton(QPushButton* button, int least) {
    const QFontMetrics metrics(button->font());
    button->setFixedWidth(std::max(least, metrics.horizontalAdvance(button->text()) + 12));
}

// An edit as wide as its characters in its own font, so a bigger font
// widens it rather than cutting what it shows.
void FitChars(QWidget* w, int chars) {
    const QFontMetrics metrics(w->font());
    w->setFixedWidth(metrics.horizontalAdvance(QString(chars, QLatin1Char('0'))) + kEditPadding);
}

void SetSilver(QLineEdit* edit, bool silver) {
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, silver ? QColor(192, 192, 192)
                                            : QGuiApplication::palette().color(QPalette::Base));
    edit->setPalette(palette);
}

} // namespace

TfrmDataEntry::TfrmDataEntry(DataEntryHost host, Prompt& prompt, QWidget* parent)
    : QWidget(parent), host_(std::move(host)), prompt_(prompt) {
    resize(750, 455);
    buildPages();
    fillSelectors();
}

TfrmDataEntry::~TfrmDataEntry() {
    // The children outlive the load while they are torn down: they must
    // no longer reach it.
    for (QWidget* w : watched_)
        w->removeEventFilter(this);
    QObject::disconnect(pc_, nullptr, this, nullptr);
    for (auto& [name, edit] : headerEdits_)
        edit->unbind();
    for (auto& [name, edit] : rowEdits_)
        edit->unbind();
    for (auto& [name, combo] : headerCombos_)
        combo->unbind();
    for (auto& [name, combo] : rowCombos_)
        combo->unbind();
    if (logData_ && logListener_)
        logData_->removeListener(logListener_);
}

// --- building ----------------------------------------------------------------

void TfrmDataEntry::buildPages() {
    pc_ = new QTabWidget(this);
    pc_->tabBar()->setFocusPolicy(Qt::NoFocus);
    auto* frame = new QVBoxLayout(this);
    frame->setContentsMargins(0, 0, 0, 0);
    frame->addWidget(pc_);
    tabHeader_ = new QWidget;
    tabLog_ = new QWidget;
    pc_->addTab(tabHeader_, QStringLiteral("&Header Data Info"));
    pc_->addTab(tabLog_, QStringLiteral("&Log Data Info"));
    buildHeaderPage(tabHeader_);
    buildLogPage(tabLog_);
    connect(pc_, &QTabWidget::currentChanged, this,
            [this](int index) { pcDataEntryChange(index); });
}

// The caption at (line, column) and the cell right of it, where the
// control goes with whatever stands beside it.
QHBoxLayout* TfrmDataEntry::headerCell(const char* caption, int line, int column) {
    if (caption)
        headerGrid_->addWidget(Caption(caption), line, column);
    auto* cell = new QHBoxLayout;
    cell->setSpacing(2);
    headerGrid_->addLayout(cell, line, column + 1, Qt::AlignLeft);
    return cell;
}

FieldEdit* TfrmDataEntry::addHeaderEdit(QHBoxLayout* cell, const char* field, int maxLength,
                                        bool upper, int chars) {
    auto* edit = new FieldEdit(tabHeader_, field, prompt_, maxLength);
    FitChars(edit, chars > 0 ? chars : maxLength);
    edit->keys.upper = upper;
    edit->keys.advance = maxLength > 0;
    edit->onTyped = [this, edit] { afterTyping(edit); };
    cell->addWidget(edit);
    headerEdits_[field] = edit;
    watch(edit);
    return edit;
}

FieldEdit* TfrmDataEntry::addHeaderEdit(const char* caption, const char* field, int maxLength,
                                        bool upper, int line, int column) {
    return addHeaderEdit(headerCell(caption, line, column), field, maxLength, upper, 0);
}

FieldCombo* TfrmDataEntry::addHeaderCombo(QHBoxLayout* cell, const char* field) {
    auto* combo = new FieldCombo(tabHeader_, field, prompt_);
    // Codes of two letters, the widest an entry holds, and the arrow.
    combo->setMinimumContentsLength(2);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cell->addWidget(combo);
    headerCombos_[field] = combo;
    watch(combo);
    return combo;
}

// Two pairs of columns, caption and control; the lines follow the tab
// order, and a line holds more than one pair where the fields belong
// together.
void TfrmDataEntry::buildHeaderPage(QWidget* page) {
    headerGrid_ = new QGridLayout(page);
    headerGrid_->setContentsMargins(4, 8, 4, 4);
    headerGrid_->setHorizontalSpacing(6);
    headerGrid_->setVerticalSpacing(4);
    addHeaderEdit("Lessee, Licensee, Or Permittee:", "LESSEE", 20, true, 0, 0);
    addHeaderEdit("Mill Location Or Name:", "MILL_NAME", 20, true, 1, 0);
    addHeaderEdit("Disposition:", "DISP", 10, true, 2, 0);
    addHeaderEdit("Sub-Disposition:", "SUBDISP", 4, true, 2, 2);
    addHeaderEdit("Source:", "SOURCE", 20, true, 3, 0);
    // The "M" box stands between the caption and the edit.
    QHBoxLayout* millNumber = headerCell("Mill Number:", 4, 0);
    edtM_ = new QLineEdit(QStringLiteral("M"), page);
    edtM_->setReadOnly(true);
    edtM_->setFocusPolicy(Qt::NoFocus);
    FitChars(edtM_, 1);
    millNumber->addWidget(edtM_);
    addHeaderEdit(millNumber, "MILL_NUM", 6, false, 0);
    addHeaderEdit("Block Number:", "BLOCK_NUM", 4, true, 4, 2);
    addHeaderEdit("Load Number:", "LOAD_NUM", 6, false, 5, 0);
    QHBoxLayout* weighed = headerCell("Date Weighed:", 5, 2);
    FieldEdit* date = addHeaderEdit(weighed, "DATEWEIGHED", 0, false, 10);
    date->setToolTip(QStringLiteral("yyyy/mm/dd"));
    weighed->addWidget(new QLabel(QStringLiteral("YYYY MM DD")));
    addHeaderEdit("Population:", "POP", 3, false, 6, 0);
    addHeaderEdit("Top Diameter:", "HTOPD", 2, false, 6, 2);
    QHBoxLayout* weight = headerCell("Net Weight:", 7, 0);
    addHeaderEdit(weight, "NETWEIGHT", 6, false, 0);
    weight->addWidget(new QLabel(QStringLiteral("KG")));
    // The trim allowance box stands at the right of the net weight line.
    QHBoxLayout* sawlogs = headerCell("Small Sawlogs:", 7, 2);
    addHeaderCombo(sawlogs, "SAWLOGS");
    sawlogs->addSpacing(24);
    addHeaderEdit("TM 9 Number:", "TM9", 10, true, 8, 0);
    addHeaderCombo(headerCell("Primary Species:", 9, 0), "HSPECIES");
    QHBoxLayout* codes = headerCell("Condition:", 9, 2);
    addHeaderCombo(codes, "HCONDCODE");
    codes->addSpacing(12);
    codes->addWidget(Caption("Product:"));
    addHeaderCombo(codes, "HPRODCODE");
    addHeaderEdit("Mill Code:", "MILL_CODE", 2, true, 10, 0);
    addHeaderEdit("Number of Trees in Load:", "TREES", 4, false, 10, 2);
    // Never shown, nor its caption; its line stays as an empty line.
    lblVolumeCalc_ = Caption("Volume Calculation Method:");
    headerGrid_->addWidget(lblVolumeCalc_, 11, 0);
    cbVolumeCalc_ = new FieldCombo(page, "VOL_CALC_METH", prompt_);
    headerGrid_->addWidget(cbVolumeCalc_, 11, 1, Qt::AlignLeft);
    headerGrid_->setRowMinimumHeight(11, edtM_->sizeHint().height());
    cbVolumeCalc_->onPicked = [this](const std::string& text) { cbVolumeCalcChange(text); };
    lblVolumeCalc_->hide();
    cbVolumeCalc_->hide();
    watch(cbVolumeCalc_);
    addHeaderEdit("Scaler Name:", "SCALER_NAME", 20, true, 12, 0);
    addHeaderEdit("Scaler Permit:", "SCALER_PERMIT", 6, true, 13, 0);
    chkTrimAllowance_ = new QCheckBox(QStringLiteral("Trim Allowance"), page);
    sawlogs->addWidget(chkTrimAllowance_);
    connect(chkTrimAllowance_, &QCheckBox::clicked, this, [this](bool checked) {
        if (doc_)
            guarded([&] { doc_->reactions().chkTrimAllowanceClick(checked); });
    });
    watch(chkTrimAllowance_);
    // The fields keep to the top left; what room is left stays empty.
    headerGrid_->setColumnStretch(4, 1);
    headerGrid_->setRowStretch(14, 1);
}

QLayout* TfrmDataEntry::buildNavigator() {
    struct Button {
        const char* caption;
        const char* hint;
        std::function<void(Dataset&)> act;
    };
    const Button buttons[] = {
        {"|<", "Move to First Log record", [](Dataset& d) { d.first(); }},
        {"<", "Move to Prior Log record", [](Dataset& d) { d.prior(); }},
        {">", "Move to Next Log record", [](Dataset& d) { d.next(); }},
        {">|", "Move to Last Log record", [](Dataset& d) { d.last(); }},
        {"\xE2\x9C\x93", "Save Log Record",
         [](Dataset& d) {
             if (d.isEditing())
                 d.post();
         }},
        {"X", "Cancel Log edit",
         [](Dataset& d) {
             if (d.isEditing())
                 d.cancel();
         }},
    };
    auto* band = new QHBoxLayout;
    band->setContentsMargins(4, 0, 4, 0);
    band->setSpacing(0);
    band->addWidget(lblCullDisplay_, 1);
    lblCullDisplay_->setFixedHeight(statusBand());
    for (const Button& button : buttons) {
        auto* b = new QPushButton(QString::fromUtf8(button.caption));
        b->setToolTip(QString::fromLatin1(button.hint));
        FitButton(b, 32);
        b->setFixedHeight(statusBand());
        b->setFocusPolicy(Qt::NoFocus);
        auto act = button.act;
        connect(b, &QPushButton::clicked, this, [this, act] {
            if (doc_)
                guarded([&] { act(doc_->log()); });
        });
        band->addWidget(b);
    }
    btnAppend_ = new QPushButton(QStringLiteral("+"));
    QFont big = btnAppend_->font();
    big.setPointSize(14);
    big.setBold(true);
    btnAppend_->setFont(big);
    btnAppend_->setToolTip(QStringLiteral("Add Log Record"));
    FitButton(btnAppend_, 28);
    btnAppend_->setFixedHeight(statusBand());
    btnAppend_->setFocusPolicy(Qt::NoFocus);
    connect(btnAppend_, &QPushButton::clicked, this, [this] { btnAppendClick(); });
    band->addSpacing(8);
    band->addWidget(btnAppend_);
    band->addSpacing(100);
    return band;
}

// From the top: the status line with the navigator, the column headings,
// and the row grid taking the rest of the page.
void TfrmDataEntry::buildLogPage(QWidget* page) {
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    lblCullDisplay_ = new QLabel;
    column->addLayout(buildNavigator());
    const std::pair<const char*, const char*> headings[] = {
        {"LOGNUM", "Log #"},
        {"SPECIES", "SP"},
        {"CONDCODE", "CD"},
        {"PRODCODE", "PR"},
        {"BUTTD", "ButtD"},
        {"TOPD", "TopD"},
        {"ACT_LENGTH", "Act\nLength"},
        {"LENGTH", "Length"},
        {"GROSSVOL", "GVol"},
        {"CULL_TYPE", "Type"},
        {"CULL_METH", "Meth"},
        {"C1", "C1"},
        {"C2", "C2"},
        {"C3", "C3"},
        {"CULLVOL", "CVol"},
        {"FLAG", "Flag"},
        {"DBH", "DBH"},
    };
    headingBand_ = new QWidget;
    for (const auto& [field, text] : headings) {
        auto* label = new QLabel(QString::fromLatin1(text), headingBand_);
        label->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
        headings_[field] = label;
    }
    column->addWidget(headingBand_);
    grid_ = new LogRowGrid(page);
    grid_->readLogs = [this] {
        return doc_ && doc_->workspace().hasLog() ? LogsOf(doc_->workspace())
                                                  : std::vector<LogRecord>();
    };
    grid_->onRowClicked = [this](int position) {
        if (doc_ && doc_->hasLoad())
            guarded([&] { goToPosition(position); });
    };
    column->addWidget(grid_, 1);
    watch(grid_);
    buildLogRow();
    arrange(false);
}

FieldEdit* TfrmDataEntry::addRowEdit(const char* field, int maxLength) {
    auto* edit = new FieldEdit(row_, field, prompt_, maxLength);
    edit->keys.advance = maxLength > 0;
    edit->onTyped = [this, edit] { afterTyping(edit); };
    rowEdits_[field] = edit;
    watch(edit);
    return edit;
}

FieldCombo* TfrmDataEntry::addRowCombo(const char* field) {
    auto* combo = new FieldCombo(row_, field, prompt_);
    if (!compactStyle_) {
        compactStyle_ = new CompactComboStyle;
        compactStyle_->setParent(this);
    }
    combo->setStyle(compactStyle_);
    rowCombos_[field] = combo;
    watch(combo);
    return combo;
}

void TfrmDataEntry::buildLogRow() {
    row_ = new QWidget(grid_);
    grid_->setLiveRow(row_);
    FieldEdit* logNum = addRowEdit("LOGNUM", 0);
    logNum->setReadOnly(true);
    logNum->setEnabled(false);
    logNum->setFocusPolicy(Qt::NoFocus);
    for (const char* field : {"SPECIES", "CONDCODE", "PRODCODE"})
        addRowCombo(field);
    addRowEdit("TOPD", 2);
    addRowEdit("LENGTH", 2);
    addRowEdit("ACT_LENGTH", 3);
    for (const char* field : {"GROSSVOL", "CULLVOL"}) {
        FieldEdit* volume = addRowEdit(field, 0);
        volume->setReadOnly(true);
        volume->setFocusPolicy(Qt::NoFocus);
        SetSilver(volume, true);
    }
    addRowEdit("BUTTD", 3);
    addRowEdit("DBH", 2);
    addRowCombo("CULL_TYPE");
    addRowCombo("CULL_METH");
    addRowEdit("C1", 3);
    addRowEdit("C2", 3);
    addRowEdit("C3", 2);
    addRowCombo("FLAG");
    rowCombos_["PRODCODE"]->onPicked = [this](const std::string& text) {
        doc_->reactions().cbProdCodeChange(text);
    };
    rowCombos_["CULL_TYPE"]->onPicked = [this](const std::string& text) {
        doc_->cull().cbTypeChange(text);
    };
    rowCombos_["CULL_METH"]->onPicked = [this](const std::string& text) {
        doc_->cull().cbMethodChange(text);
    };
}

void TfrmDataEntry::watch(QWidget* control) {
    control->installEventFilter(this);
    watched_.push_back(control);
}

void TfrmDataEntry::fillSelectors() {
    const CodeLists& g = CodeLists::Standard();
    headerCombos_["HSPECIES"]->setEntries(g.speciesList());
    headerCombos_["HCONDCODE"]->setEntries(g.conditionList());
    headerCombos_["HPRODCODE"]->setEntries(g.productList());
    headerCombos_["SAWLOGS"]->setEntries({"Y", "N"});
    rowCombos_["SPECIES"]->setEntries(g.speciesList());
    rowCombos_["CONDCODE"]->setEntries(g.conditionList());
    rowCombos_["PRODCODE"]->setEntries(g.productList());
    rowCombos_["CULL_TYPE"]->setEntries(g.cullTypeList());
    rowCombos_["CULL_METH"]->setEntries(g.cullMethodList());
    rowCombos_["FLAG"]->setEntries({"B", "T", "*", " "});
    cbVolumeCalc_->setEntries({kAlbertaMethodName, kSmalianMethodName});
}

// --- the load ------------------------------------------------------------------

void TfrmDataEntry::attach(std::unique_ptr<LoadDocument> document) {
    doc_ = std::move(document);
    doc_->setView(this);
    setCaption(doc_->caption());
    if (!doc_->hasLoad())
        return;
    bindControls();
    setTrimAllowanceMode(doc_->flags().TrimAllowance);
}

void TfrmDataEntry::bindControls() {
    Dataset& header = doc_->header();
    Dataset& log = doc_->log();
    for (auto& [name, edit] : headerEdits_)
        edit->bind(header);
    for (auto& [name, combo] : headerCombos_)
        combo->bind(header);
    for (auto& [name, edit] : rowEdits_)
        edit->bind(log);
    for (auto& [name, combo] : rowCombos_)
        combo->bind(log);
    logData_ = &log;
    logListener_ = log.addListener([this](DataEvent event, int) {
        if (event == DataEvent::DataSetChange || event == DataEvent::StateChange)
            logChanged();
    });
    logChanged();
}

void TfrmDataEntry::logChanged() {
    const Dataset& log = *logData_;
    grid_->invalidate(!log.isOpen() || log.isEmpty() ? 0 : std::max(1, log.recNo()));
}

// The header is posted when the selector is left, as after any header
// control.
void TfrmDataEntry::cbVolumeCalcChange(const std::string& text) {
    StoreVolumeMethod(doc_->header(), "VOL_CALC_METH", text);
}

// --- window events -----------------------------------------------------------

void TfrmDataEntry::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        connect(frame, &QMdiSubWindow::windowStateChanged, this,
                [this](Qt::WindowStates before, Qt::WindowStates now) {
                    const bool was = before.testFlag(Qt::WindowActive);
                    const bool is = now.testFlag(Qt::WindowActive);
                    if (was != is && host_.enableLoadCommands)
                        host_.enableLoadCommands(is);
                });
    }
    FormShow();
}

void TfrmDataEntry::FormShow() {
    PlaceChildWindow(this, 750, 455);
    showPage(0);
    if (!doc_)
        return;
    guarded([this] { doc_->windowShown(); });
    // A load that could not be read leaves the window without one.
    if (!doc_->hasLoad())
        return;
    cbVolumeCalc_->showText(doc_->volumeMethod() == "A" ? kAlbertaMethodName : kSmalianMethodName);
    chkTrimAllowance_->setVisible(doc_->volumeMethodChar() != 'A');
    FormResize();
    focusDirect(control(DataEntryKeyMap::headerTabOrder().front()), true);
}

void TfrmDataEntry::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FormResize();
}

// The log page's layout gives the grid what the page has below its top
// band; the grid shows as many whole rows as fit.
void TfrmDataEntry::FormResize() {
    if (!doc_ || doc_->flags().Loading)
        return;
    // A page not shown yet has no size of its own: reckon it from the page
    // control and lay it out now.
    if (!tabLog_->isVisible())
        tabLog_->resize(pc_->width() - 4, pc_->height() - pc_->tabBar()->sizeHint().height() - 4);
    tabLog_->layout()->setGeometry(tabLog_->rect());
}

void TfrmDataEntry::refitRows() {
    FormResize();
}

void TfrmDataEntry::closeEvent(QCloseEvent* event) {
    if (!doc_) {
        event->accept();
        return;
    }
    bool agreed = false;
    guarded([&] { agreed = doc_->CloseQuery(); });
    if (!agreed) {
        event->ignore();
        return;
    }
    guarded([this] { doc_->Close(); });
    event->accept();
}

// --- commands ------------------------------------------------------------------

void TfrmDataEntry::saveCommand() {
    if (doc_)
        guarded([this] { doc_->SaveLoad(); });
}

void TfrmDataEntry::saveAsCommand() {
    if (doc_)
        guarded([this] { doc_->SaveLoadAs(); });
}

bool TfrmDataEntry::closeQuery() {
    bool agreed = false;
    if (!doc_)
        return true;
    guarded([&] { agreed = doc_->CloseQuery(); });
    return agreed;
}

void TfrmDataEntry::saveAndClose() {
    bool saved = false;
    guarded([&] { saved = doc_->SaveLoad(); });
    if (!saved)
        return;
    doc_->flags().AskToSave = false;
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->close();
    else
        close();
}

void TfrmDataEntry::btnAppendClick() {
    if (doc_)
        guarded([this] { doc_->AppendLog(); });
}

void TfrmDataEntry::NextOrAppendLog() {
    doc_->NextOrAppendLog();
}

// --- LoadView ------------------------------------------------------------------

void TfrmDataEntry::showStatus(const std::string& text) {
    lblCullDisplay_->setText(FromCp1252(text));
}

void TfrmDataEntry::focusControl(LoadControl which, bool selectAll) {
    QWidget* target = control(which);
    if (!target)
        return;
    if (leaving_) {
        focusRequest_ = target;
        requestSelect_ = selectAll;
        return;
    }
    focusDirect(target, selectAll);
}

void TfrmDataEntry::selectText(LoadControl which) {
    selectAllIn(control(which));
}

void TfrmDataEntry::pressTab(int times) {
    pendingTabs_ += times;
}

void TfrmDataEntry::setSelectorText(LoadControl which, const std::string& text) {
    if (auto* combo = dynamic_cast<FieldCombo*>(control(which)))
        combo->showText(text);
}

void TfrmDataEntry::setTrimAllowanceMode(bool on) {
    FieldEdit* act = rowEdits_["ACT_LENGTH"];
    FieldEdit* length = rowEdits_["LENGTH"];
    act->setReadOnly(!on);
    SetSilver(act, !on);
    length->setReadOnly(on);
    SetSilver(length, on);
    const QSignalBlocker quiet(chkTrimAllowance_);
    chkTrimAllowance_->setChecked(on);
}

void TfrmDataEntry::hideTrimAllowance() {
    chkTrimAllowance_->hide();
}

void TfrmDataEntry::showHeaderPage() {
    showPage(0);
}

void TfrmDataEntry::setCaption(const std::string& caption) {
    setWindowTitle(FromCp1252(caption));
}

void TfrmDataEntry::setBusy(bool busy) {
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

std::optional<std::string> TfrmDataEntry::askSaveFileName(const std::string& proposal,
                                                          const std::string& folder) {
    if (host_.chooseSaveFile)
        return host_.chooseSaveFile(proposal, folder);
    const QString start = FromCp1252(folder) + FromCp1252(proposal);
    QString chosen =
        QFileDialog::getSaveFileName(this, QString(), start, QStringLiteral("Text file (*.txt)"));
    if (chosen.isEmpty())
        return std::nullopt;
    if (QFileInfo(chosen).suffix().isEmpty())
        chosen += QStringLiteral(".txt");
    return HeldFileName(chosen);
}

// --- access --------------------------------------------------------------------

QWidget* TfrmDataEntry::control(LoadControl which) const {
    // The field each control the load names shows.
    static const std::map<LoadControl, const char*> fields = {
        {LoadControl::Species, "SPECIES"},
        {LoadControl::CondCode, "CONDCODE"},
        {LoadControl::ProdCode, "PRODCODE"},
        {LoadControl::TopD, "TOPD"},
        {LoadControl::Length, "LENGTH"},
        {LoadControl::ActLength, "ACT_LENGTH"},
        {LoadControl::ButtD, "BUTTD"},
        {LoadControl::CullType, "CULL_TYPE"},
        {LoadControl::CullMethod, "CULL_METH"},
        {LoadControl::C1, "C1"},
        {LoadControl::C2, "C2"},
        {LoadControl::C3, "C3"},
        {LoadControl::Flag, "FLAG"},
        {LoadControl::Dbh, "DBH"},
        {LoadControl::Disposition, "DISP"},
        {LoadControl::Source, "SOURCE"},
        {LoadControl::HeaderTopD, "HTOPD"},
        {LoadControl::DateWeighed, "DATEWEIGHED"},
        {LoadControl::ScalerName, "SCALER_NAME"},
        {LoadControl::ScalerPermit, "SCALER_PERMIT"},
        {LoadControl::Lessee, "LESSEE"},
        {LoadControl::MillName, "MILL_NAME"},
        {LoadControl::SubDisposition, "SUBDISP"},
        {LoadControl::MillNumber, "MILL_NUM"},
        {LoadControl::BlockNumber, "BLOCK_NUM"},
        {LoadControl::LoadNumber, "LOAD_NUM"},
        {LoadControl::Population, "POP"},
        {LoadControl::NetWeight, "NETWEIGHT"},
        {LoadControl::Sawlogs, "SAWLOGS"},
        {LoadControl::Tm9, "TM9"},
        {LoadControl::HeaderSpecies, "HSPECIES"},
        {LoadControl::HeaderCondCode, "HCONDCODE"},
        {LoadControl::HeaderProdCode, "HPRODCODE"},
        {LoadControl::MillCode, "MILL_CODE"},
        {LoadControl::Trees, "TREES"},
        {LoadControl::VolumeMethod, "VOL_CALC_METH"},
    };
    if (which == LoadControl::TrimAllowance)
        return chkTrimAllowance_;
    const auto found = fields.find(which);
    if (found == fields.end())
        return nullptr;
    // Header and log field names never coincide.
    if (FieldEdit* edit = logEdit(found->second))
        return edit;
    if (FieldCombo* combo = logCombo(found->second))
        return combo;
    if (FieldEdit* edit = headerEdit(found->second))
        return edit;
    return headerCombo(found->second);
}

FieldEdit* TfrmDataEntry::headerEdit(const std::string& field) const {
    auto found = headerEdits_.find(field);
    return found != headerEdits_.end() ? found->second : nullptr;
}

FieldEdit* TfrmDataEntry::logEdit(const std::string& field) const {
    auto found = rowEdits_.find(field);
    return found != rowEdits_.end() ? found->second : nullptr;
}

FieldCombo* TfrmDataEntry::logCombo(const std::string& field) const {
    auto found = rowCombos_.find(field);
    return found != rowCombos_.end() ? found->second : nullptr;
}

FieldCombo* TfrmDataEntry::headerCombo(const std::string& field) const {
    if (field == "VOL_CALC_METH")
        return cbVolumeCalc_;
    auto found = headerCombos_.find(field);
    return found != headerCombos_.end() ? found->second : nullptr;
}

QLabel* TfrmDataEntry::heading(const std::string& field) const {
    auto found = headings_.find(field);
    return found != headings_.end() ? found->second : nullptr;
}

QWidget* TfrmDataEntry::rowControl(const std::string& field) const {
    if (FieldEdit* edit = logEdit(field))
        return edit;
    return logCombo(field);
}

bool TfrmDataEntry::onLogPage() const {
    return pc_->currentIndex() == 1;
}

bool TfrmDataEntry::isRowControl(const QWidget* w) const {
    return w && (w->parentWidget() == row_ || w == grid_);
}

bool TfrmDataEntry::isRowSelector(const QWidget* w) const {
    return w && w->parentWidget() == row_ && dynamic_cast<const FieldCombo*>(w);
}

// --- the column arrangement ------------------------------------------------------

void TfrmDataEntry::placeColumn(QWidget* control, const std::string& field, int left, int width) {
    control->setGeometry(left, 2, width, 21);
    if (QLabel* label = heading(field))
        label->setGeometry(left, 0, width, headingBand_->maximumHeight());
}

// The headings are bold, one point smaller than the text, and smaller
// still where a bigger font would make one wider than its column; the band
// is as high as two of their lines.
void TfrmDataEntry::fitHeadings(const std::vector<LogRowGrid::Column>& columns) {
    // The grid starts 46 pixels down the page; the headings take what the
    // status line leaves of that, unless even their smallest font needs more.
    const int room = kTopBand - statusBand();
    QFont bold = font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() - 1);
    auto need = [&](const QFont& f) {
        const QFontMetrics metrics(f);
        QSize most(0, 0);
        for (const LogRowGrid::Column& c : columns) {
            const QLabel* label = heading(c.field);
            const QSize size = metrics.boundingRect(QRect(), Qt::AlignLeft, label->text()).size();
            if (label->isVisibleTo(headingBand_) && size.width() > c.width)
                most.setWidth(std::max(most.width(), size.width()));
            most.setHeight(std::max(most.height(), size.height()));
        }
        return most;
    };
    while (bold.pointSizeF() > 6 && (need(bold).width() > 0 || need(bold).height() > room))
        bold.setPointSizeF(bold.pointSizeF() - 0.5);
    headingBand_->setFixedHeight(std::max(room, need(bold).height()));
    for (auto& [field, label] : headings_)
        label->setFont(bold);
}

// The status line's height, the navigator's buttons as high.
int TfrmDataEntry::statusBand() const {
    return std::max(20, QFontMetrics(font()).height() + 4);
}

void TfrmDataEntry::ArrangeLogColumns() {
    if (!onLogPage() || !doc_)
        return;
    arrange(doc_->volumeMethodChar() == 'A');
    focusDirect(rowCombos_["SPECIES"], false);
}

void TfrmDataEntry::arrange(bool alberta) {
    alberta_ = alberta;
    struct Place {
        const char* field;
        int left;
    };
    static const Place smalian[] = {
        {"BUTTD", 160},    {"TOPD", 200},      {"ACT_LENGTH", 240}, {"LENGTH", 290},
        {"GROSSVOL", 340}, {"CULL_TYPE", 385}, {"CULL_METH", 430},  {"C1", 470},
        {"C2", 510},       {"C3", 550},        {"CULLVOL", 590},    {"FLAG", 630},
        {"DBH", 670},
    };
    static const Place albertaPlaces[] = {
        {"TOPD", 160},      {"LENGTH", 200}, {"GROSSVOL", 250}, {"CULL_TYPE", 300},
        {"CULL_METH", 340}, {"C1", 385},     {"C2", 430},       {"C3", 470},
        {"CULLVOL", 510},   {"BUTTD", 550},  {"FLAG", 590},     {"DBH", 630},
    };
    std::vector<Place> places = {
        {"LOGNUM", kRowLeft}, {"SPECIES", 40}, {"CONDCODE", 80}, {"PRODCODE", 120}};
    if (alberta)
        places.insert(places.end(), std::begin(albertaPlaces), std::end(albertaPlaces));
    else
        places.insert(places.end(), std::begin(smalian), std::end(smalian));
    std::vector<LogRowGrid::Column> columns;
    for (size_t i = 0; i < places.size(); ++i) {
        const int next = i + 1 < places.size() ? places[i + 1].left : places[i].left + 40;
        columns.push_back({places[i].field, places[i].left, next - places[i].left - 2});
    }
    rowEdits_["ACT_LENGTH"]->setVisible(!alberta);
    headings_["ACT_LENGTH"]->setVisible(!alberta);
    chkTrimAllowance_->setVisible(!alberta);
    fitHeadings(columns);
    for (const LogRowGrid::Column& c : columns)
        placeColumn(rowControl(c.field), c.field, c.left, c.width);
    grid_->setColumns(columns);
}

// --- focus -----------------------------------------------------------------------

bool TfrmDataEntry::guarded(const std::function<void()>& work) {
    if (RunGuarded(prompt_, work))
        return true;
    // The refused value stays where it was keyed, selected for retyping.
    if (current_) {
        current_->setFocus();
        selectAllIn(current_);
    }
    return false;
}

void TfrmDataEntry::selectAllIn(QWidget* w) {
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        edit->selectAll();
}

bool TfrmDataEntry::tabStop(QWidget* w) const {
    if (!w || w->isHidden() || !w->isEnabled() || w->focusPolicy() == Qt::NoFocus)
        return false;
    if (auto* edit = qobject_cast<QLineEdit*>(w); edit && edit->isReadOnly())
        return false;
    return true;
}

void TfrmDataEntry::tabStep(bool forward) {
    const std::vector<LoadControl> order = isRowControl(current_)
                                               ? DataEntryKeyMap::rowTabOrder(alberta_)
                                               : DataEntryKeyMap::headerTabOrder();
    std::optional<LoadControl> at;
    for (LoadControl c : order) {
        if (control(c) == current_)
            at = c;
    }
    const std::optional<LoadControl> next = DataEntryKeyMap::nextStop(
        order, at, forward, [this](LoadControl c) { return tabStop(control(c)); });
    if (next)
        moveFocus(control(*next));
}

void TfrmDataEntry::commitControl(QWidget* w) {
    if (auto* edit = dynamic_cast<FieldEdit*>(w))
        edit->commit();
    else if (auto* combo = dynamic_cast<FieldCombo*>(w); combo && combo != cbVolumeCalc_)
        combo->commit();
    if (!isRowControl(w) && doc_->header().isEditing())
        doc_->header().post();
}

void TfrmDataEntry::exitControl(QWidget* w) {
    LogReactions& reactions = doc_->reactions();
    CullEntry& cull = doc_->cull();
    if (w == rowEdits_["LENGTH"])
        reactions.edtLengthExit();
    else if (w == rowCombos_["CULL_TYPE"])
        cull.cbTypeExit(rowCombos_["CULL_TYPE"]->text());
    else if (w == rowCombos_["CULL_METH"])
        cull.cbMethodExit();
    else if (w == rowEdits_["C1"])
        cull.edtC1Exit();
    else if (w == rowEdits_["C2"])
        cull.edtC2Exit();
    else if (w == rowEdits_["C3"])
        cull.edtC3Exit();
    else if (w == headerEdits_["DISP"] || w == headerEdits_["SOURCE"]) {
        const Dataset& h = doc_->header();
        const std::string disp = h.field("DISP").asString();
        const std::string source = h.field("SOURCE").asString();
        const bool disposition = w == headerEdits_["DISP"];
        Prompt& prompt = doc_->prompt();
        if (!(disposition ? CheckDisposition(disp, source, prompt)
                          : CheckSource(disp, source, prompt)))
            focusControl(disposition ? LoadControl::Disposition : LoadControl::Source, true);
    }
}

void TfrmDataEntry::enterControl(QWidget* w) {
    if (!doc_ || !doc_->hasLoad())
        return;
    CullEntry& cull = doc_->cull();
    if (w == rowEdits_["LENGTH"])
        doc_->reactions().edtLengthEnter();
    else if (w == rowCombos_["CULL_TYPE"])
        cull.cbTypeEnter();
    else if (w == rowCombos_["CULL_METH"])
        cull.cbMethodEnter();
    else if (w == rowEdits_["C1"])
        cull.edtC1Enter();
    else if (w == rowEdits_["C2"])
        cull.edtC2Enter();
    else if (w == rowEdits_["C3"])
        cull.edtC3Enter();
}

// Writes the control's value and runs its exit reaction; false when the
// value was refused or the reaction sent the focus elsewhere.
bool TfrmDataEntry::leaveCurrent() {
    if (!current_ || !doc_ || !doc_->hasLoad())
        return true;
    QWidget* w = current_;
    focusRequest_ = nullptr;
    pendingTabs_ = 0;
    leaving_ = true;
    const bool ok = RunGuarded(prompt_, [&] {
        commitControl(w);
        exitControl(w);
    });
    leaving_ = false;
    if (!ok) {
        pendingTabs_ = 0;
        w->setFocus();
        selectAllIn(w);
        return false;
    }
    if (focusRequest_) {
        QWidget* target = focusRequest_;
        focusRequest_ = nullptr;
        pendingTabs_ = 0;
        focusDirect(target, requestSelect_);
        return false;
    }
    return true;
}

bool TfrmDataEntry::moveFocus(QWidget* target) {
    if (target == current_) {
        target->setFocus();
        return true;
    }
    if (!leaveCurrent())
        return false;
    current_ = target;
    target->setFocus();
    selectAllIn(target);
    guarded([&] { enterControl(target); });
    runPendingTabs();
    return true;
}

void TfrmDataEntry::runPendingTabs() {
    int tabs = pendingTabs_;
    pendingTabs_ = 0;
    while (tabs-- > 0) {
        if (doc_)
            doc_->flags().BackTab = false;
        tabStep(true);
    }
}

// A move the window or the load makes itself: the record has already been
// written, so only the status line of a cull control is put back.
void TfrmDataEntry::focusDirect(QWidget* target, bool selectAll) {
    if (!target)
        return;
    const bool header = !isRowControl(target);
    if (header && onLogPage())
        showPage(0);
    const bool moved = target != current_;
    if (moved && doc_ && doc_->hasLoad() && isRowControl(current_) &&
        (current_ == rowCombos_["CULL_TYPE"] || current_ == rowCombos_["CULL_METH"] ||
         current_ == rowEdits_["C1"] || current_ == rowEdits_["C2"] || current_ == rowEdits_["C3"]))
        doc_->showCountText();
    current_ = target;
    target->setFocus();
    if (selectAll)
        selectAllIn(target);
    if (moved && !leaving_)
        guarded([&] { enterControl(target); });
}

void TfrmDataEntry::afterTyping(FieldEdit* edit) {
    if (!doc_ || doc_->flags().Loading)
        return;
    LoadFlags& flags = doc_->flags();
    const bool full = edit->keys.full(edit->text(), edit->maxLength());
    const bool advance = full && DataEntryKeyMap::advancesWhenFull(placeOf(edit), flags.KeyTyped);
    if (isRowControl(edit))
        flags.KeyTyped = false;
    // A full edit moves on as a Tab pressed there would, so a full DBH edit
    // goes on to the next log.
    if (advance)
        tabFrom(edit);
}

// --- pages -----------------------------------------------------------------------

void TfrmDataEntry::showPage(int index) {
    switchingPage_ = true;
    pc_->setCurrentIndex(index);
    shownPage_ = index;
    switchingPage_ = false;
}

// A page tab (or its mnemonic) changed the page: the header must pass its
// checks first, otherwise the page goes back.
void TfrmDataEntry::pcDataEntryChange(int index) {
    if (switchingPage_ || !doc_ || !doc_->hasLoad())
        return;
    const int before = shownPage_;
    showPage(before);
    if (!leaveCurrent() || !CheckHeaderForLogPage())
        return;
    showPage(index);
    if (index == 1) {
        ArrangeLogColumns();
        grid_->update();
    } else {
        focusDirect(control(DataEntryKeyMap::headerTabOrder().front()), true);
    }
}

bool TfrmDataEntry::CheckHeaderForLogPage() {
    if (!doc_) // made, its load not yet attached: nothing to check
        return true;
    Prompt& prompt = doc_->prompt();
    auto text = [this](const char* field) { return ToCp1252(headerEdits_[field]->text()); };
    const QString topText = headerEdits_["HTOPD"]->text().trimmed();
    if (!CheckHeaderTopDiameter(topText.isEmpty() ? 0 : topText.toInt(), prompt)) {
        focusDirect(headerEdits_["HTOPD"], true);
        return false;
    }
    if (!CheckVolumeMethod(cbVolumeCalc_->text(), prompt)) {
        focusDirect(cbVolumeCalc_, false);
        return false;
    }
    if (!CheckScalerName(text("SCALER_NAME"), prompt)) {
        focusDirect(headerEdits_["SCALER_NAME"], true);
        return false;
    }
    if (!CheckScalerPermit(text("SCALER_PERMIT"), prompt)) {
        focusDirect(headerEdits_["SCALER_PERMIT"], true);
        return false;
    }
    return true;
}

void TfrmDataEntry::switchPageByF6() {
    if (!leaveCurrent())
        return;
    if (onLogPage()) {
        showPage(0);
        focusDirect(control(DataEntryKeyMap::headerTabOrder().front()), true);
        return;
    }
    if (!CheckHeaderForLogPage())
        return;
    showPage(1);
    ArrangeLogColumns();
    grid_->update();
}

// --- keys ------------------------------------------------------------------------

bool TfrmDataEntry::eventFilter(QObject* watched, QEvent* event) {
    auto* w = qobject_cast<QWidget*>(watched);
    if (!doc_ || !doc_->hasLoad() || !w)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress: {
        const bool eaten = OnKeyDown(w, static_cast<QKeyEvent*>(event));
        runPendingTabs();
        return eaten;
    }
    case QEvent::MouseButtonPress:
        if (w != current_ && w != grid_ && !moveFocus(w))
            return true;
        break;
    case QEvent::FocusIn:
        if (!leaving_ && w != current_ && w != grid_) {
            current_ = w;
            guarded([&] { enterControl(w); });
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

bool TfrmDataEntry::OnKeyDown(QWidget* w, QKeyEvent* e) {
    if (w != current_ && w != grid_)
        current_ = w;
    const EntryKey key = EntryKeyOf(e);
    const KeyDecision decision = DataEntryKeyMap::decide(onLogPage(), placeOf(w), key);
    LoadFlags& flags = doc_->flags();
    if (decision.typed)
        flags.KeyTyped = true;
    if (decision.backTab)
        flags.BackTab = *decision.backTab;
    return carryOut(w, decision);
}

KeyPlace TfrmDataEntry::placeOf(const QWidget* w) const {
    if (w == grid_)
        return KeyPlace::Grid;
    if (w == control(LoadControl::Dbh))
        return KeyPlace::Dbh;
    if (isRowSelector(w))
        return KeyPlace::RowSelector;
    return isRowControl(w) ? KeyPlace::RowEdit : KeyPlace::Header;
}

// A full edit moves on as a Tab pressed there would.
void TfrmDataEntry::tabFrom(QWidget* w) {
    const KeyDecision tab = DataEntryKeyMap::decide(onLogPage(), placeOf(w), EntryKey::Tab);
    doc_->flags().BackTab = tab.backTab.value_or(false);
    carryOut(w, tab);
}

// Answers whether the key is used up.
bool TfrmDataEntry::carryOut(QWidget* w, const KeyDecision& decision) {
    QWidget* target = decision.focus ? control(*decision.focus) : nullptr;
    switch (decision.action) {
    case KeyAction::Pass:
    case KeyAction::Typed:
        return false;
    case KeyAction::Swallow:
        return true;
    case KeyAction::TabStep:
    case KeyAction::BackTabStep:
        tabStep(decision.action == KeyAction::TabStep);
        return true;
    case KeyAction::NextLogTab:
        if (guarded([this] { NextOrAppendLog(); })) {
            focusDirect(target, decision.selectAll);
            tabStep(true);
        }
        return true;
    case KeyAction::FocusRow:
        focusDirect(target, decision.selectAll);
        return true;
    case KeyAction::NextOrAppend:
        if (guarded([this] { NextOrAppendLog(); }))
            focusDirect(target, decision.selectAll);
        return true;
    case KeyAction::ShiftCursor:
        f9Shift(w);
        return true;
    case KeyAction::CancelLog:
        guarded([this] {
            if (doc_->log().isEditing())
                doc_->log().cancel();
        });
        return true;
    default:
        break;
    }
    return logKey(decision, target) || windowKey(decision.action);
}

// The moves between logs.
bool TfrmDataEntry::logKey(const KeyDecision& decision, QWidget* target) {
    Dataset& log = doc_->log();
    const std::map<KeyAction, std::function<void()>> moves = {
        {KeyAction::PageUp, [this] { pageKey(false); }},
        {KeyAction::PageDown, [this] { pageKey(true); }},
        {KeyAction::FirstLog, [&log] { log.first(); }},
        {KeyAction::LastLog, [&log] { log.last(); }},
        {KeyAction::PriorLog, [&log] { log.prior(); }},
        {KeyAction::NextLog, [&log] { log.next(); }},
    };
    const auto move = moves.find(decision.action);
    if (move == moves.end())
        return false;
    if (guarded(move->second) && target)
        focusDirect(target, decision.selectAll);
    return true;
}

// The keys that reach the main window or the window as a whole.
bool TfrmDataEntry::windowKey(KeyAction action) {
    auto call = [](const std::function<void()>& f) {
        if (f)
            f();
    };
    switch (action) {
    case KeyAction::ShowShortcuts:
        call(host_.showShortcuts);
        break;
    case KeyAction::SaveAndClose:
        saveAndClose();
        break;
    case KeyAction::ShowRanges:
        call(host_.showRanges);
        break;
    case KeyAction::PrintFullLoad:
        call(host_.printFullLoadReport);
        break;
    case KeyAction::SwitchPage:
        switchPageByF6();
        break;
    case KeyAction::GoToLog:
        goToLogNumber();
        break;
    case KeyAction::CullEntireLog:
        guarded([this] { doc_->cull().CullEntireLog(); });
        break;
    default:
        return false;
    }
    return true;
}

void TfrmDataEntry::goToPosition(int position) {
    const std::vector<LogRecord>& logs = grid_->logs();
    if (position < 1 || position > static_cast<int>(logs.size()))
        return;
    doc_->log().locate({{"LOGNUM", Value(logs[position - 1].LOGNUM)}});
}

void TfrmDataEntry::pageKey(bool down) {
    Dataset& log = doc_->log();
    const int r = log.recNo();
    const int p = grid_->visibleRows();
    if (down) {
        if (r + p < log.recordCount())
            goToPosition(r + p);
        else
            log.last();
    } else {
        if (r - p < 2)
            log.first();
        else
            goToPosition(r - p);
    }
}

void TfrmDataEntry::goToLogNumber() {
    if (!guarded([this] {
            if (doc_->log().isEditing())
                doc_->log().post();
        }))
        return;
    const int count = doc_->log().recordCount();
    std::optional<int> number;
    if (host_.askLogNumber) {
        number = host_.askLogNumber(this, count);
    } else {
        auto dialog = std::make_unique<TdlgGoToLog>(this, count, doc_->prompt());
        if (dialog->exec() == QDialog::Accepted)
            number = dialog->logNumber();
    }
    if (number)
        guarded([&] { doc_->GoToLogNumber(*number); });
}

void TfrmDataEntry::f9Shift(QWidget* w) {
    if (!guarded([this] {
            if (doc_->log().isEditing())
                doc_->log().post();
        }))
        return;
    LoadControl at = LoadControl::Species;
    for (LoadControl c : DataEntryKeyMap::rowTabOrder(alberta_)) {
        if (control(c) == w)
            at = c;
    }
    const bool known = control(at) == w;
    focusDirect(
        control(known ? DataEntryKeyMap::shiftCursorTarget(at, alberta_) : LoadControl::Species),
        false);
}

} // namespace brimlo
