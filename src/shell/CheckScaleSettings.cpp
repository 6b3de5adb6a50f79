#include "shell/CheckScaleSettings.h"

#include <QSettings>

namespace brimlo {

namespace {

const QString kGross = QStringLiteral("CheckScale/GrossPercent");
const QString kNet = QStringLiteral("CheckScale/NetPercent");
const QString kDefectRule = QStringLiteral("CheckScale/DefectRule");
const QString kDefectFactor = QStringLiteral("CheckScale/DefectFactor");
const QString kDefectMax = QStringLiteral("CheckScale/DefectMaxPercent");

double ReadNumber(QSettings& settings, const QString& key, double fallback) {
    bool ok = false;
    const double value = settings.value(key, fallback).toDouble(&ok);
    return ok ? value : fallback;
}

} // namespace

CheckScaleTolerances ReadCheckScaleTolerances(QSettings& settings) {
    const CheckScaleTolerances defaults;
    CheckScaleTolerances t;
    t.grossPercent = ReadNumber(settings, kGross, defaults.grossPercent);
    t.netPercent = ReadNumber(settings, kNet, defaults.netPercent);
    t.defectRule = settings.value(kDefectRule, defaults.defectRule).toBool();
    t.defectFactor = ReadNumber(settings, kDefectFactor, defaults.defectFactor);
    t.defectMaxPercent = ReadNumber(settings, kDefectMax, defaults.defectMaxPercent);
    // A hand-edited setting that cannot be used gives way to the defaults.
    return t.problem() ? defaults : t;
}

void WriteCheckScaleTolerances(QSettings& settings, const CheckScaleTolerances& t) {
    settings.setValue(kGross, t.grossPercent);
    settings.setValue(kNet, t.netPercent);
    settings.setValue(kDefectRule, t.defectRule);
    settings.setValue(kDefectFactor, t.defectFactor);
    settings.setValue(kDefectMax, t.defectMaxPercent);
    settings.sync();
}

} // namespace brimlo
