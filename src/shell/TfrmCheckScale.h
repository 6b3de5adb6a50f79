#pragma once

#include "load/CheckScaleComparison.h"

#include <QSettings>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QDoubleSpinBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace brimlo {

class Prompt;

// "Compare Check Scale...": the scaler's load file and the check scaler's
// are chosen (typed or browsed), the tolerances set, and Compare shows the
// figures and verdicts; Print/Preview shows the report. The tolerances are
// kept in the user's settings whenever a comparison runs.
class TfrmCheckScale : public QWidget {
public:
    using Preview = std::function<void(QWidget* parent, const CheckScaleComparison&)>;

    // startDirectory is where Browse opens; errors are told on prompt;
    // settings default to the user's own; preview defaults to the report's
    // modal print preview.
    TfrmCheckScale(QString startDirectory, Prompt& prompt,
                   std::unique_ptr<QSettings> settings = nullptr, Preview preview = {},
                   QWidget* parent = nullptr);
    ~TfrmCheckScale() override;

    const std::optional<CheckScaleComparison>& comparison() const { return comparison_; }

    void btnCompareClick();
    void btnPreviewClick();

private:
    void buildControls();
    void showTolerances(const CheckScaleTolerances& tolerances);
    CheckScaleTolerances tolerances() const;
    void browse(QLineEdit* edit);
    void defectRuleToggled();

    QString startDirectory_;
    Prompt& prompt_;
    std::unique_ptr<QSettings> settings_;
    Preview preview_;
    std::optional<CheckScaleComparison> comparison_;

    QLineEdit* edtOriginal = nullptr;
    QLineEdit* edtCheck = nullptr;
    QDoubleSpinBox* edtGrossTol = nullptr;
    QDoubleSpinBox* edtNetTol = nullptr;
    QCheckBox* chkDefectRule = nullptr;
    QDoubleSpinBox* edtDefectFactor = nullptr;
    QDoubleSpinBox* edtDefectMax = nullptr;
    QPushButton* btnCompare = nullptr;
    QPushButton* btnPreview = nullptr;
    QPlainTextEdit* memResults = nullptr;
};

} // namespace brimlo
