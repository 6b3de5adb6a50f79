#include "shell/TfrmDefaults.h"

#include "master/GuardedCommand.h"
#include "rules/Cglobals.h"
#include "rules/CodeLists.h"
#include "rules/HeaderChecks.h"
#include "shell/ChildPlacement.h"
#include "shell/DbEdit.h"
#include "shell/FieldCombo.h"
#include "shell/FolderBrowser.h"
#include "support/Dataset.h"
#include "support/Prompt.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

namespace brimlo {

namespace {

constexpr int kCaptionWidth = 190;
constexpr int kWidth = 630;
constexpr int kHeight = 455;

// The lines stand close together, but what shares a line keeps a gap.
QHBoxLayout* Row(QVBoxLayout* rows, const char* caption) {
    auto* row = new QHBoxLayout;
    row->setSpacing(6);
    auto* label = new QLabel(QString::fromLatin1(caption));
    label->setFixedWidth(kCaptionWidth);
    row->addWidget(label);
    rows->addLayout(row);
    return row;
}

QLabel* Text(const char* text) {
    return new QLabel(QString::fromLatin1(text));
}

const std::array<AllowedList, 7> kMethodLists = {
    AllowedList::Type1, AllowedList::Type2Smalian, AllowedList::Type3, AllowedList::Type4,
    AllowedList::Type5, AllowedList::Type6,        AllowedList::Type7};

} // namespace

TfrmDefaults::TfrmDefaults(Dataset& defaults, FolderBrowser& folders, Prompt& prompt,
                           QWidget* parent)
    : QWidget(parent), defaults_(defaults), folders_(folders), prompt_(prompt) {
    setObjectName(QStringLiteral("frmDefaults"));
    setWindowTitle(QStringLiteral("BRIMLO - System Defaults"));
    resize(kWidth, kHeight);
    pcDefaults_ = new QTabWidget(this);
    pcDefaults_->setObjectName(QStringLiteral("pcDefaults"));
    pcDefaults_->addTab(buildHeaderPage(), QStringLiteral("Scale &Header Defaults"));
    pcDefaults_->addTab(buildLoadPage(), QStringLiteral("Scale &Load Defaults"));
    pcDefaults_->addTab(buildHardwarePage(), QStringLiteral("Hardware &Defaults"));
    pcDefaults_->setCurrentIndex(0);
    // A page chosen by its letter takes the keyboard to its first field.
    connect(pcDefaults_, &QTabWidget::currentChanged, this,
            [this](int page) { focusFirstField(page); });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    // The window keeps its size; the header page's lines are packed tight.
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->addWidget(pcDefaults_);
    fillLists();
    chkTrimAllowance_->setChecked(defaults_.field("TRIM_ALLOWANCE").asString() == "T");
    volumeMethod_ = defaults_.field("VOL_CALC_METH").asString();
    const int methodField = defaults_.fieldIndex("VOL_CALC_METH");
    listener_.attach(defaults_, [this, methodField](DataEvent event, int field) {
        if (event == DataEvent::DataSetChange ||
            (event == DataEvent::FieldChange && field == methodField))
            volumeMethodMoved();
    });
}

TfrmDefaults::~TfrmDefaults() = default;

// --- building ----------------------------------------------------------------

DbEdit* TfrmDefaults::makeEdit(const char* name, const char* field, int maxLength, bool upper,
                               bool advance) {
    auto* edit = new DbEdit(defaults_, field, typing_, prompt_);
    edit->setObjectName(QString::fromLatin1(name));
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    // Wide enough for its longest entry, the data directory excepted.
    if (maxLength <= 20)
        edit->setFixedWidth(maxLength > 0 ? 16 + 9 * maxLength : 100);
    edit->keys.upper = upper;
    edit->keys.advance = advance;
    chain_.push_back(edit);
    return edit;
}

FieldCombo* TfrmDefaults::makeList(const char* name, const char* field) {
    auto* list = new FieldCombo(nullptr, field, prompt_);
    list->setObjectName(QString::fromLatin1(name));
    list->keys.enterAsTab = true;
    list->bindInPlace(defaults_, typing_);
    chain_.push_back(list);
    return list;
}

void TfrmDefaults::endTabChain() {
    for (size_t i = 1; i < chain_.size(); ++i)
        QWidget::setTabOrder(chain_[i - 1], chain_[i]);
    chains_.push_back(chain_);
    chain_.clear();
}

QWidget* TfrmDefaults::buildHeaderPage() {
    tabHeader_ = new QWidget;
    tabHeader_->setObjectName(QStringLiteral("tabHeader"));
    auto* rows = new QVBoxLayout(tabHeader_);
    rows->setSpacing(0);
    rows->setContentsMargins(6, 4, 6, 4);
    buildHeaderNames(rows);
    buildHeaderNumbers(rows);
    buildHeaderCodes(rows);
    for (QHBoxLayout* row : tabHeader_->findChildren<QHBoxLayout*>())
        if (row->indexOf(chkTrimAllowance_) < 0)
            row->addStretch();
    rows->addStretch();
    endTabChain();
    return tabHeader_;
}

void TfrmDefaults::buildHeaderNames(QVBoxLayout* rows) {
    Row(rows, "Lessee, Licensee, Or Permittee:")
        ->addWidget(makeEdit("edtLessee", "LESSEE", 20, true, true));
    Row(rows, "Mill Location Or Name:")
        ->addWidget(makeEdit("edtMillName", "MILL_NAME", 20, true, true));
    DbEdit* disp = makeEdit("edtDisp", "DISP", 10, true, true);
    disp->onLeave = [this] { return leaveDisposition(); };
    Row(rows, "Disposition:")->addWidget(disp);
    Row(rows, "Sub-Disposition:")->addWidget(makeEdit("edtSubDisp", "SUBDISP", 4, true, true));
    DbEdit* source = makeEdit("edtSource", "SOURCE", 20, true, true);
    source->onLeave = [this] { return leaveSource(); };
    Row(rows, "Source:")->addWidget(source);
    QHBoxLayout* mill = Row(rows, "Mill Number:");
    auto* prefix = new QLineEdit(QStringLiteral("M"));
    prefix->setObjectName(QStringLiteral("edtMillPrefix"));
    prefix->setReadOnly(true);
    prefix->setFocusPolicy(Qt::NoFocus);
    prefix->setFixedWidth(24);
    mill->addWidget(prefix);
    mill->addWidget(makeEdit("edtMillNum", "MILL_NUM", 6, false, true));
    Row(rows, "Block Number:")->addWidget(makeEdit("edtBlockNum", "BLOCK_NUM", 4, true, true));
    Row(rows, "Load Number:")->addWidget(makeEdit("edtLoadNum", "LOAD_NUM", 6, false, true));
}

void TfrmDefaults::buildHeaderNumbers(QVBoxLayout* rows) {
    QHBoxLayout* date = Row(rows, "Date Weighed:");
    DbEdit* weighed = makeEdit("edtDateWeighed", "DATEWEIGHED", 0, false, false);
    weighed->setToolTip(QStringLiteral("yyyy/mm/dd"));
    date->addWidget(weighed);
    date->addWidget(Text("yyyy/mm/dd"));
    Row(rows, "Population:")->addWidget(makeEdit("edtPop", "POP", 3, false, true));
    Row(rows, "Top Diameter:")->addWidget(makeEdit("edtHTopD", "HTOPD", 2, false, true));
    QHBoxLayout* weight = Row(rows, "Net Weight:");
    weight->addWidget(makeEdit("edtNetWeight", "NETWEIGHT", 6, false, true));
    weight->addWidget(Text("KG"));
    weight->addWidget(Text("Small Sawlogs:"));
    weight->addWidget(makeList("cbSawlogs", "SAWLOGS"));
    chkTrimAllowance_ = new QCheckBox(QStringLiteral("Trim Allowance"));
    chkTrimAllowance_->setObjectName(QStringLiteral("chkTrimAllowance"));
    connect(chkTrimAllowance_, &QCheckBox::clicked, this,
            [this](bool ticked) { chkTrimAllowanceClick(ticked); });
    weight->addStretch();
    weight->addWidget(chkTrimAllowance_);
    Row(rows, "TM 9 Number:")->addWidget(makeEdit("edtTm9", "TM9", 10, true, true));
}

void TfrmDefaults::buildHeaderCodes(QVBoxLayout* rows) {
    QHBoxLayout* codes = Row(rows, "Primary Species:");
    codes->addWidget(makeList("cbHSpecies", "HSPECIES"));
    codes->addWidget(Text("Condition:"));
    codes->addWidget(makeList("cbHCondCode", "HCONDCODE"));
    codes->addWidget(Text("Product:"));
    codes->addWidget(makeList("cbHProdCode", "HPRODCODE"));
    codes->addStretch();
    Row(rows, "Mill Code:")->addWidget(makeEdit("edtMillCode", "MILL_CODE", 2, true, true));
    Row(rows, "Number of Trees in Load:")->addWidget(makeEdit("edtTrees", "TREES", 4, false, true));
    Row(rows, "Scaler Name:")->addWidget(makeEdit("edtScalerName", "SCALER_NAME", 20, true, true));
    Row(rows, "Scaler Permit:")
        ->addWidget(makeEdit("edtScalerPermit", "SCALER_PERMIT", 6, true, true));
    // Last in the tab order, though it stands on the net weight line.
    chain_.push_back(chkTrimAllowance_);
}

QWidget* TfrmDefaults::buildLoadPage() {
    tabLoad_ = new QWidget;
    tabLoad_->setObjectName(QStringLiteral("tabLoad"));
    auto* grid = new QGridLayout(tabLoad_);
    grid->addWidget(Text("Species:"), 0, 0);
    grid->addWidget(makeList("cbSpecies", "SPECIES"), 0, 1);
    grid->addWidget(Text("Condition Code:"), 1, 0);
    grid->addWidget(makeList("cbCondCode", "CONDCODE"), 1, 1);
    grid->addWidget(Text("Product Code:"), 2, 0);
    grid->addWidget(makeList("cbProdCode", "PRODCODE"), 2, 1);
    grid->addWidget(Text("Log Length:"), 0, 2);
    grid->addWidget(makeEdit("edtLength", "LENGTH", 2, false, true), 0, 3);
    grid->addWidget(Text("Top Diameter:"), 1, 2);
    grid->addWidget(makeEdit("edtTopD", "TOPD", 2, false, true), 1, 3);
    grid->addWidget(buildCullMethods(), 3, 0, 1, 4);
    grid->setRowStretch(4, 1);
    endTabChain();
    return tabLoad_;
}

QWidget* TfrmDefaults::buildCullMethods() {
    auto* frame = new QGroupBox(QStringLiteral("Recommended Cull Method Default:"));
    auto* grid = new QGridLayout(frame);
    grid->addWidget(Text("Type:"), 0, 0);
    grid->addWidget(Text("Method"), 0, 1);
    for (int type = 1; type <= 7; ++type) {
        const std::string n = std::to_string(type);
        grid->addWidget(new QLabel(QString::number(type)), type, 0);
        const std::string name = "cbCullMethType" + n;
        const std::string field = "CULLMETHTYPE" + n;
        cbCullMethods_[static_cast<size_t>(type - 1)] = makeList(name.c_str(), field.c_str());
        grid->addWidget(cbCullMethods_[static_cast<size_t>(type - 1)], type, 1);
    }
    return frame;
}

QWidget* TfrmDefaults::buildHardwarePage() {
    tabHardware_ = new QWidget;
    tabHardware_->setObjectName(QStringLiteral("tabHardware"));
    auto* rows = new QVBoxLayout(tabHardware_);
    rows->addWidget(Text("Default Data File Directory:"));
    DbEdit* path = makeEdit("edtDataPath", "DEFAULT_DATA_PATH", 255, false, false);
    path->keys.enterAsTab = false;
    rows->addWidget(path);
    btnBrowse_ = new QPushButton(QStringLiteral("Browse..."));
    btnBrowse_->setObjectName(QStringLiteral("btnBrowse"));
    btnBrowse_->setFocusPolicy(Qt::NoFocus);
    connect(btnBrowse_, &QPushButton::clicked, this, [this] { btnBrowseClick(); });
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(btnBrowse_);
    buttonRow->addStretch();
    rows->addLayout(buttonRow);
    rows->addStretch();
    endTabChain();
    return tabHardware_;
}

void TfrmDefaults::fillLists() {
    const CodeLists& globals = CodeLists::Standard();
    list("SAWLOGS")->setEntries({"Y", "N"});
    for (const char* field : {"HSPECIES", "SPECIES"})
        list(field)->setEntries(globals.speciesList());
    for (const char* field : {"HCONDCODE", "CONDCODE"})
        list(field)->setEntries(globals.conditionList());
    for (const char* field : {"HPRODCODE", "PRODCODE"})
        list(field)->setEntries(globals.productList());
    for (size_t i = 0; i < cbCullMethods_.size(); ++i)
        cbCullMethods_[i]->setEntries(globals.allowedMethods(kMethodLists[i]));
}

void TfrmDefaults::focusFirstField(int page) {
    const auto index = static_cast<size_t>(page);
    if (page >= 0 && index < chains_.size() && !chains_[index].empty())
        chains_[index].front()->setFocus(Qt::TabFocusReason);
}

DbEdit* TfrmDefaults::edit(const std::string& field) const {
    for (DbEdit* edit : findChildren<DbEdit*>())
        if (edit->fieldName() == field)
            return edit;
    return nullptr;
}

FieldCombo* TfrmDefaults::list(const std::string& field) const {
    for (FieldCombo* list : findChildren<FieldCombo*>())
        if (list->fieldName() == field)
            return list;
    return nullptr;
}

// --- reactions ---------------------------------------------------------------

// Type 2's methods depend on how the volume is calculated.
void TfrmDefaults::volumeMethodMoved() {
    const std::string method = defaults_.field("VOL_CALC_METH").asString();
    if (method == volumeMethod_)
        return;
    volumeMethod_ = method;
    const AllowedList allowed =
        method == "S" ? AllowedList::Type2Smalian : AllowedList::Type2Alberta;
    cbCullMethods_[1]->setEntries(CodeLists::Standard().allowedMethods(allowed));
}

bool TfrmDefaults::leaveDisposition() {
    return CheckDisposition(defaults_.field("DISP").asString(),
                            defaults_.field("SOURCE").asString(), prompt_);
}

bool TfrmDefaults::leaveSource() {
    return CheckSource(defaults_.field("DISP").asString(), defaults_.field("SOURCE").asString(),
                       prompt_);
}

// The immediate post takes every other pending change along, unchecked.
void TfrmDefaults::chkTrimAllowanceClick(bool ticked) {
    RunGuarded(prompt_, [&] {
        if (!defaults_.isEditing())
            defaults_.edit();
        defaults_.setField("TRIM_ALLOWANCE", Value(ticked ? "T" : "F"));
        defaults_.post();
    });
}

void TfrmDefaults::btnBrowseClick() {
    const std::string folder = folders_.browse("Select Default Data Directory", this);
    if (folder.empty())
        return;
    RunGuarded(prompt_, [&] {
        if (!defaults_.isEditing())
            defaults_.edit();
        defaults_.setField("DEFAULT_DATA_PATH", Value(folder));
    });
}

// --- saving and closing --------------------------------------------------------

// Text typed into the edit that still has the focus belongs to the record
// the checks look at.
void TfrmDefaults::commitTyped() {
    for (DbEdit* edit : findChildren<DbEdit*>())
        edit->commit();
}

bool TfrmDefaults::runChecks() {
    struct Step {
        const char* field;
        QWidget* page;
        std::function<bool()> check;
    };
    const auto text = [this](const char* field) { return defaults_.field(field).asString(); };
    const auto number = [this](const char* field) { return defaults_.field(field).asInt(); };
    const std::vector<Step> steps = {
        {"TOPD", tabLoad_, [&] { return CheckDefaultTopDiameter(number("TOPD"), prompt_); }},
        {"LENGTH", tabLoad_, [&] { return CheckDefaultLength(number("LENGTH"), prompt_); }},
        {"DISP", tabHeader_,
         [&] { return CheckDisposition(text("DISP"), text("SOURCE"), prompt_); }},
        {"SOURCE", tabHeader_, [&] { return CheckSource(text("DISP"), text("SOURCE"), prompt_); }},
        {"HTOPD", tabHeader_, [&] { return CheckHeaderTopDiameter(number("HTOPD"), prompt_); }},
        {"DATEWEIGHED", tabHeader_,
         [&] { return CheckDateWeighed(defaults_.field("DATEWEIGHED").asDate(), prompt_); }},
    };
    for (const Step& step : steps) {
        if (step.check())
            continue;
        pcDefaults_->setCurrentWidget(step.page);
        edit(step.field)->setFocus(Qt::OtherFocusReason);
        return false;
    }
    return true;
}

bool TfrmDefaults::save() {
    if (!RunGuarded(prompt_, [this] { commitTyped(); }))
        return false;
    if (!runChecks())
        return false;
    if (!defaults_.isEditing())
        return true;
    return RunGuarded(prompt_, [this] { defaults_.post(); });
}

bool TfrmDefaults::closeQuery() {
    if (!defaults_.isEditing())
        return true;
    switch (prompt_.ask("Save before closing?", "Warning", PromptButtons::YesNoCancel)) {
    case PromptAnswer::Yes:
        return save();
    case PromptAnswer::No:
        RunGuarded(prompt_, [this] { defaults_.cancel(); });
        return true;
    default:
        return false;
    }
}

// The window opens with the keyboard in the first field, so a scaler can
// type straight away.
void TfrmDefaults::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (placed_)
        return;
    placed_ = true;
    PlaceChildWindow(this, kWidth, kHeight);
    focusFirstField(pcDefaults_->currentIndex());
}

void TfrmDefaults::closeEvent(QCloseEvent* event) {
    if (closeQuery())
        event->accept();
    else
        event->ignore();
}

} // namespace brimlo
