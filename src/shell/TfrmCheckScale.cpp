#include "shell/TfrmCheckScale.h"

#include "load/CheckScaleText.h"
#include "master/GuardedCommand.h"
#include "reports/CheckScaleReport.h"
#include "shell/CheckScaleSettings.h"
#include "support/BrimloError.h"
#include "support/Cp1252.h"
#include "support/LocalFileName.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>

namespace brimlo {

namespace {

QLineEdit* PathEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMinimumWidth(360);
    return edit;
}

QDoubleSpinBox* PercentBox(QWidget* parent, const char* name, int decimals) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(0.0, 100.0);
    box->setDecimals(decimals);
    box->setSingleStep(decimals == 3 ? 0.1 : 0.5);
    return box;
}

QLabel* Caption(QWidget* parent, const char* text, QWidget* buddy) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setBuddy(buddy);
    return label;
}

std::string HeldPath(const QLineEdit* edit, const char* which) {
    const QString typed = edit->text().trimmed();
    if (typed.isEmpty())
        throw BrimloError(std::string("Enter the ") + which + " load file.");
    return HeldFileName(typed);
}

} // namespace

TfrmCheckScale::TfrmCheckScale(QString startDirectory, Prompt& prompt,
                               std::unique_ptr<QSettings> settings, Preview preview,
                               QWidget* parent)
    : QWidget(parent), startDirectory_(std::move(startDirectory)), prompt_(prompt),
      settings_(std::move(settings)), preview_(std::move(preview)) {
    setObjectName(QStringLiteral("frmCheckScale"));
    setWindowTitle(QStringLiteral("BRIMLO - Compare Check Scale"));
    if (!settings_)
        settings_ = std::make_unique<QSettings>(QSettings::UserScope, QStringLiteral("Brimlo"),
                                                QStringLiteral("brimlo"));
    if (!preview_)
        preview_ = [this](QWidget* parent, const CheckScaleComparison& comparison) {
            PreviewCheckScaleReport(parent, comparison, prompt_);
        };
    buildControls();
    showTolerances(ReadCheckScaleTolerances(*settings_));
}

TfrmCheckScale::~TfrmCheckScale() = default;

void TfrmCheckScale::buildControls() {
    auto* grid = new QGridLayout(this);
    edtOriginal = PathEdit(this, "edtOriginal");
    auto* btnBrowseOriginal = new QPushButton(QStringLiteral("&Browse..."), this);
    edtCheck = PathEdit(this, "edtCheck");
    auto* btnBrowseCheck = new QPushButton(QStringLiteral("Bro&wse..."), this);
    grid->addWidget(Caption(this, "&Original load:", edtOriginal), 0, 0);
    grid->addWidget(edtOriginal, 0, 1, 1, 3);
    grid->addWidget(btnBrowseOriginal, 0, 4);
    grid->addWidget(Caption(this, "C&heck scale:", edtCheck), 1, 0);
    grid->addWidget(edtCheck, 1, 1, 1, 3);
    grid->addWidget(btnBrowseCheck, 1, 4);

    edtGrossTol = PercentBox(this, "edtGrossTol", 2);
    edtNetTol = PercentBox(this, "edtNetTol", 2);
    grid->addWidget(Caption(this, "&Gross tolerance (%):", edtGrossTol), 2, 0);
    grid->addWidget(edtGrossTol, 2, 1);
    grid->addWidget(Caption(this, "&Net tolerance (%):", edtNetTol), 2, 2);
    grid->addWidget(edtNetTol, 2, 3);

    chkDefectRule = new QCheckBox(
        QStringLiteral("&Defect rule: net variance allowed = factor x percent defect"), this);
    chkDefectRule->setObjectName(QStringLiteral("chkDefectRule"));
    edtDefectFactor = PercentBox(this, "edtDefectFactor", 3);
    edtDefectMax = PercentBox(this, "edtDefectMax", 2);
    grid->addWidget(chkDefectRule, 3, 0, 1, 5);
    grid->addWidget(Caption(this, "&Factor:", edtDefectFactor), 4, 0);
    grid->addWidget(edtDefectFactor, 4, 1);
    grid->addWidget(Caption(this, "At &most (%):", edtDefectMax), 4, 2);
    grid->addWidget(edtDefectMax, 4, 3);

    btnCompare = new QPushButton(QStringLiteral("&Compare"), this);
    btnCompare->setObjectName(QStringLiteral("btnCompare"));
    btnPreview = new QPushButton(QStringLiteral("&Print/Preview..."), this);
    btnPreview->setObjectName(QStringLiteral("btnPreview"));
    btnPreview->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnCompare);
    buttons->addWidget(btnPreview);
    grid->addLayout(buttons, 5, 0, 1, 5);

    memResults = new QPlainTextEdit(this);
    memResults->setObjectName(QStringLiteral("memResults"));
    memResults->setReadOnly(true);
    memResults->setLineWrapMode(QPlainTextEdit::NoWrap);
    memResults->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    grid->addWidget(memResults, 6, 0, 1, 5);
    grid->setRowStretch(6, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    resize(820, 560);

    connect(btnBrowseOriginal, &QPushButton::clicked, this, [this] { browse(edtOriginal); });
    connect(btnBrowseCheck, &QPushButton::clicked, this, [this] { browse(edtCheck); });
    connect(chkDefectRule, &QCheckBox::toggled, this, [this] { defectRuleToggled(); });
    connect(btnCompare, &QPushButton::clicked, this,
            [this] { RunGuarded(prompt_, [this] { btnCompareClick(); }); });
    connect(btnPreview, &QPushButton::clicked, this,
            [this] { RunGuarded(prompt_, [this] { btnPreviewClick(); }); });
    // Enter in a file name compares, as the window's main command.
    for (QLineEdit* edit : {edtOriginal, edtCheck})
        connect(edit, &QLineEdit::returnPressed, this,
                [this] { RunGuarded(prompt_, [this] { btnCompareClick(); }); });
}

void TfrmCheckScale::showTolerances(const CheckScaleTolerances& t) {
    edtGrossTol->setValue(t.grossPercent);
    edtNetTol->setValue(t.netPercent);
    edtDefectFactor->setValue(t.defectFactor);
    edtDefectMax->setValue(t.defectMaxPercent);
    chkDefectRule->setChecked(t.defectRule);
    defectRuleToggled();
}

CheckScaleTolerances TfrmCheckScale::tolerances() const {
    CheckScaleTolerances t;
    t.grossPercent = edtGrossTol->value();
    t.netPercent = edtNetTol->value();
    t.defectRule = chkDefectRule->isChecked();
    t.defectFactor = edtDefectFactor->value();
    t.defectMaxPercent = edtDefectMax->value();
    return t;
}

// The defect rule takes the place of the plain net tolerance.
void TfrmCheckScale::defectRuleToggled() {
    const bool on = chkDefectRule->isChecked();
    edtNetTol->setEnabled(!on);
    edtDefectFactor->setEnabled(on);
    edtDefectMax->setEnabled(on);
}

void TfrmCheckScale::browse(QLineEdit* edit) {
    const QString start = edit->text().isEmpty() ? startDirectory_ : edit->text();
    const QString picked = QFileDialog::getOpenFileName(this, QStringLiteral("Choose Load File"),
                                                        start, QStringLiteral("Text file (*.txt)"));
    if (!picked.isEmpty())
        edit->setText(picked);
}

void TfrmCheckScale::btnCompareClick() {
    const std::string original = HeldPath(edtOriginal, "original");
    const std::string check = HeldPath(edtCheck, "check scale");
    const CheckScaleTolerances t = tolerances();
    if (const auto problem = t.problem())
        throw BrimloError(*problem);
    WriteCheckScaleTolerances(*settings_, t);
    comparison_.reset();
    btnPreview->setEnabled(false);
    memResults->clear();
    comparison_ = CompareCheckScaleFiles(original, check, t);
    memResults->setPlainText(FromCp1252(CheckScaleText(*comparison_)));
    btnPreview->setEnabled(true);
}

void TfrmCheckScale::btnPreviewClick() {
    if (comparison_)
        preview_(this, *comparison_);
}

} // namespace brimlo
