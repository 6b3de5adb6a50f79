#include "shell/TfrmDataEntry.h"

#include "load/LoadDocument.h"
#include "load/WorkspaceRecords.h"
#include "master/FieldEdit.h"
#include "master/GuardedCommand.h"
#include "rules/Cglobals.h"
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
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
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

constexpr int kTopBand = 46;
constexpr int kRowLeft = 2;

QLabel* Caption(QWidget* page, const char* text, int x, int y, int width) {
    auto* label = new QLabel(QString::fromLatin1(text), page);
    label->setGeometry(x, y, width, 21);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

void SetSilver(QLineEdit* edit, bool silver) {
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, silver ? QColor(192, 192, 192)
                                            : QGuiApplication::palette().color(QPalette::Base));
    edit->setPalette(palette);
}

} // namespace

TfrmDataEntry::TfrmDataEntry(DataEntryHost host, QWidget* parent)
    : QWidget(parent), host_(std::move(host)) {
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
    tabHeader_ = new QWidget;
    tabLog_ = new QWidget;
    pc_->addTab(tabHeader_, QStringLiteral("&Header Data Info"));
    pc_->addTab(tabLog_, QStringLiteral("&Log Data Info"));
    buildHeaderPage(tabHeader_);
    buildLogPage(tabLog_);
    connect(pc_, &QTabWidget::currentChanged, this,
            [this](int index) { pcDataEntryChange(index); });
}

FieldEdit* TfrmDataEntry::addHeaderEdit(QWidget* page, const char* caption, const char* field,
                                        int maxLength, bool upper, int x, int y, int width,
                                        int captionWidth) {
    if (captionWidth > 0)
        Caption(page, caption, x - captionWidth - 6, y, captionWidth);
    auto* edit = new FieldEdit(page, field, maxLength);
    edit->setGeometry(x, y, width, 21);
    edit->keys.upper = upper;
    edit->keys.advance = maxLength > 0;
    edit->onTyped = [this, edit] { afterTyping(edit); };
    headerEdits_[field] = edit;
    headerOrder_.push_back(edit);
    watch(edit);
    return edit;
}

FieldCombo* TfrmDataEntry::addHeaderCombo(QWidget* page, const char* caption, const char* field,
                                          int x, int y, int width, int captionWidth) {
    Caption(page, caption, x - captionWidth - 6, y, captionWidth);
    auto* combo = new FieldCombo(page, field);
    combo->setGeometry(x, y, width, 21);
    headerCombos_[field] = combo;
    headerOrder_.push_back(combo);
    watch(combo);
    return combo;
}

void TfrmDataEntry::buildHeaderPage(QWidget* page) {
    const int x = 200;
    const int x2 = 440;
    auto line = [](int n) { return 8 + 26 * n; };
    addHeaderEdit(page, "Lessee, Licensee, Or Permittee:", "LESSEE", 20, true, x, line(0), 160);
    addHeaderEdit(page, "Mill Location Or Name:", "MILL_NAME", 20, true, x, line(1), 160);
    addHeaderEdit(page, "Disposition:", "DISP", 10, true, x, line(2), 90);
    addHeaderEdit(page, "Sub-Disposition:", "SUBDISP", 4, true, x2, line(2), 45, 120);
    addHeaderEdit(page, "Source:", "SOURCE", 20, true, x, line(3), 160);
    edtM_ = new QLineEdit(QStringLiteral("M"), page);
    edtM_->setReadOnly(true);
    edtM_->setFocusPolicy(Qt::NoFocus);
    edtM_->setGeometry(x, line(4), 18, 21);
    // The caption stands left of the "M" box, the edit right of it.
    Caption(page, "Mill Number:", x - 196, line(4), 190);
    addHeaderEdit(page, "Mill Number:", "MILL_NUM", 6, false, x + 20, line(4), 60, 0);
    addHeaderEdit(page, "Block Number:", "BLOCK_NUM", 4, true, x2, line(4), 45, 120);
    addHeaderEdit(page, "Load Number:", "LOAD_NUM", 6, false, x, line(5), 60);
    FieldEdit* date =
        addHeaderEdit(page, "Date Weighed:", "DATEWEIGHED", 0, false, x2, line(5), 80, 120);
    date->setToolTip(QStringLiteral("yyyy/mm/dd"));
    (new QLabel(QStringLiteral("YYYY MM DD"), page))->setGeometry(x2 + 86, line(5), 80, 21);
    addHeaderEdit(page, "Population:", "POP", 3, false, x, line(6), 40);
    addHeaderEdit(page, "Top Diameter:", "HTOPD", 2, false, x2, line(6), 30, 120);
    addHeaderEdit(page, "Net Weight:", "NETWEIGHT", 6, false, x, line(7), 60);
    (new QLabel(QStringLiteral("KG"), page))->setGeometry(x + 64, line(7), 20, 21);
    addHeaderCombo(page, "Small Sawlogs:", "SAWLOGS", x + 190, line(7), 45, 100);
    addHeaderEdit(page, "TM 9 Number:", "TM9", 10, true, x, line(8), 90);
    addHeaderCombo(page, "Primary Species:", "HSPECIES", x, line(9), 50, 190);
    addHeaderCombo(page, "Condition:", "HCONDCODE", x + 140, line(9), 50, 80);
    addHeaderCombo(page, "Product:", "HPRODCODE", x + 270, line(9), 50, 70);
    addHeaderEdit(page, "Mill Code:", "MILL_CODE", 2, true, x, line(10), 30);
    addHeaderEdit(page, "Number of Trees in Load:", "TREES", 4, false, x2, line(10), 45, 160);
    lblVolumeCalc_ = Caption(page, "Volume Calculation Method:", x - 196, line(11), 190);
    cbVolumeCalc_ = new FieldCombo(page, "VOL_CALC_METH");
    cbVolumeCalc_->setGeometry(x, line(11), 150, 21);
    cbVolumeCalc_->onPicked = [this](const std::string& text) { cbVolumeCalcChange(text); };
    lblVolumeCalc_->hide();
    cbVolumeCalc_->hide();
    headerOrder_.push_back(cbVolumeCalc_);
    watch(cbVolumeCalc_);
    addHeaderEdit(page, "Scaler Name:", "SCALER_NAME", 20, true, x, line(12), 160);
    addHeaderEdit(page, "Scaler Permit:", "SCALER_PERMIT", 6, true, x, line(13), 60);
    chkTrimAllowance_ = new QCheckBox(QStringLiteral("Trim Allowance"), page);
    chkTrimAllowance_->setGeometry(x + 360, line(7), 120, 21);
    connect(chkTrimAllowance_, &QCheckBox::clicked, this, [this](bool checked) {
        if (doc_)
            guarded([&] { doc_->reactions().chkTrimAllowanceClick(checked); });
    });
    headerOrder_.push_back(chkTrimAllowance_);
    watch(chkTrimAllowance_);
}

void TfrmDataEntry::buildNavigator(QWidget* page) {
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
    int x = 420;
    for (const Button& button : buttons) {
        auto* b = new QPushButton(QString::fromUtf8(button.caption), page);
        b->setToolTip(QString::fromLatin1(button.hint));
        b->setGeometry(x, 0, 32, 22);
        b->setFocusPolicy(Qt::NoFocus);
        auto act = button.act;
        connect(b, &QPushButton::clicked, this, [this, act] {
            if (doc_)
                guarded([&] { act(doc_->log()); });
        });
        x += 32;
    }
    btnAppend_ = new QPushButton(QStringLiteral("+"), page);
    QFont big = btnAppend_->font();
    big.setPointSize(14);
    big.setBold(true);
    btnAppend_->setFont(big);
    btnAppend_->setToolTip(QStringLiteral("Add Log Record"));
    btnAppend_->setGeometry(x + 8, 0, 28, 22);
    btnAppend_->setFocusPolicy(Qt::NoFocus);
    connect(btnAppend_, &QPushButton::clicked, this, [this] { btnAppendClick(); });
}

void TfrmDataEntry::buildLogPage(QWidget* page) {
    lblCullDisplay_ = new QLabel(page);
    lblCullDisplay_->setGeometry(4, 2, 410, 18);
    buildNavigator(page);
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
    // Bold headings one point smaller than the text, so each stays within
    // the 40 pixels its column has.
    QFont bold = font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() - 1);
    for (const auto& [field, text] : headings) {
        auto* label = new QLabel(QString::fromLatin1(text), page);
        label->setFont(bold);
        label->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
        label->setGeometry(0, 20, 48, kTopBand - 20);
        headings_[field] = label;
    }
    grid_ = new LogRowGrid(page);
    grid_->setGeometry(0, kTopBand, 740, 353);
    grid_->readLogs = [this] {
        return doc_ && doc_->workspace().hasLog() ? LogsOf(doc_->workspace())
                                                  : std::vector<LogRecord>();
    };
    grid_->onRowClicked = [this](int position) {
        if (doc_ && doc_->hasLoad())
            guarded([&] { goToPosition(position); });
    };
    watch(grid_);
    buildLogRow();
    arrange(false);
}

FieldEdit* TfrmDataEntry::addRowEdit(const char* field, int maxLength) {
    auto* edit = new FieldEdit(row_, field, maxLength);
    edit->keys.advance = maxLength > 0;
    edit->onTyped = [this, edit] { afterTyping(edit); };
    rowEdits_[field] = edit;
    watch(edit);
    return edit;
}

FieldCombo* TfrmDataEntry::addRowCombo(const char* field) {
    auto* combo = new FieldCombo(row_, field);
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
    const Cglobals& g = Globals();
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
    focusDirect(headerEdits_["LESSEE"], true);
}

void TfrmDataEntry::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    pc_->setGeometry(0, 0, width(), std::max(height(), 100));
    FormResize();
}

void TfrmDataEntry::FormResize() {
    if (!doc_ || doc_->flags().Loading)
        return;
    // A page not yet shown has no size of its own: reckon it from the page
    // control.
    const int pageWidth = pc_->width() - 4;
    const int pageHeight = pc_->height() - pc_->tabBar()->sizeHint().height() - 4;
    grid_->resize(pageWidth, grid_->height());
    grid_->FitGridRows(pageHeight - kTopBand);
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
    };
    if (which == LoadControl::VolumeMethod)
        return cbVolumeCalc_;
    const auto found = fields.find(which);
    if (found == fields.end())
        return nullptr;
    // Header and log field names never coincide.
    if (FieldEdit* edit = logEdit(found->second))
        return edit;
    if (FieldCombo* combo = logCombo(found->second))
        return combo;
    return headerEdit(found->second);
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

bool TfrmDataEntry::onLogPage() const {
    return pc_->currentIndex() == 1;
}

std::vector<QWidget*> TfrmDataEntry::rowTabOrder() const {
    return rowOrder_;
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
        label->setGeometry(left, label->y(), width, label->height());
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
        const int width = next - places[i].left - 2;
        QWidget* w = logEdit(places[i].field) ? static_cast<QWidget*>(logEdit(places[i].field))
                                              : logCombo(places[i].field);
        placeColumn(w, places[i].field, places[i].left, width);
        columns.push_back({places[i].field, places[i].left, width});
    }
    rowEdits_["ACT_LENGTH"]->setVisible(!alberta);
    headings_["ACT_LENGTH"]->setVisible(!alberta);
    chkTrimAllowance_->setVisible(!alberta);
    grid_->setColumns(columns);
    rowOrder_.clear();
    for (const Place& place : places) {
        if (std::string(place.field) != "LOGNUM")
            rowOrder_.push_back(logEdit(place.field) ? static_cast<QWidget*>(logEdit(place.field))
                                                     : logCombo(place.field));
    }
}

// --- focus -----------------------------------------------------------------------

bool TfrmDataEntry::guarded(const std::function<void()>& work) {
    if (RunGuarded(work))
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
    const bool row = isRowControl(current_);
    const std::vector<QWidget*>& order = row ? rowOrder_ : headerOrder_;
    const int n = static_cast<int>(order.size());
    const auto at = std::find(order.begin(), order.end(), current_);
    int index = at == order.end() ? (forward ? -1 : n) : static_cast<int>(at - order.begin());
    for (int step = 0; step < n; ++step) {
        index = ((forward ? index + 1 : index - 1) + n) % n;
        if (tabStop(order[index])) {
            moveFocus(order[index]);
            return;
        }
    }
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
        if (!(disposition ? CheckDisposition(disp, source) : CheckSource(disp, source)))
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
    const bool ok = RunGuarded([&] {
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
    // A full edit moves on as a Tab pressed there would, so a full DBH edit
    // goes on to the next log.
    if (isRowControl(edit)) {
        const bool advance = flags.KeyTyped && full;
        flags.KeyTyped = false;
        if (advance)
            tabFrom(edit);
        return;
    }
    if (full)
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
        focusDirect(headerEdits_["LESSEE"], true);
    }
}

bool TfrmDataEntry::CheckHeaderForLogPage() {
    auto text = [this](const char* field) { return ToCp1252(headerEdits_[field]->text()); };
    const QString topText = headerEdits_["HTOPD"]->text().trimmed();
    if (!CheckHeaderTopDiameter(topText.isEmpty() ? 0 : topText.toInt())) {
        focusDirect(headerEdits_["HTOPD"], true);
        return false;
    }
    if (!CheckVolumeMethod(cbVolumeCalc_->text())) {
        focusDirect(cbVolumeCalc_, false);
        return false;
    }
    if (!CheckScalerName(text("SCALER_NAME"))) {
        focusDirect(headerEdits_["SCALER_NAME"], true);
        return false;
    }
    if (!CheckScalerPermit(text("SCALER_PERMIT"))) {
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
        focusDirect(headerEdits_["LESSEE"], true);
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
    if (key == EntryKey::Tab || key == EntryKey::BackTab || key == EntryKey::Enter)
        flags.BackTab = key == EntryKey::BackTab;
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
    doc_->flags().BackTab = false;
    carryOut(w, DataEntryKeyMap::decide(onLogPage(), placeOf(w), EntryKey::Tab));
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
            focusDirect(target, false);
            tabStep(true);
        }
        return true;
    case KeyAction::FocusRow:
        focusDirect(target, false);
        return true;
    case KeyAction::NextOrAppend:
        if (guarded([this] { NextOrAppendLog(); }))
            focusDirect(target, decision.focus != LoadControl::Species);
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
    return logKey(decision.action, target) || windowKey(decision.action);
}

// The moves between logs.
bool TfrmDataEntry::logKey(KeyAction action, QWidget* target) {
    Dataset& log = doc_->log();
    const std::map<KeyAction, std::function<void()>> moves = {
        {KeyAction::PageUp, [this] { pageKey(false); }},
        {KeyAction::PageDown, [this] { pageKey(true); }},
        {KeyAction::FirstLog, [&log] { log.first(); }},
        {KeyAction::LastLog, [&log] { log.last(); }},
        {KeyAction::PriorLog, [&log] { log.prior(); }},
        {KeyAction::NextLog, [&log] { log.next(); }},
    };
    const auto move = moves.find(action);
    if (move == moves.end())
        return false;
    if (guarded(move->second) && target)
        focusDirect(target, false);
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
        auto dialog = std::make_unique<TdlgGoToLog>(this, count);
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
