#pragma once

#include <QLabel>
#include <QWidget>
#include <string>
#include <vector>

namespace brimlo::testing {

// The texts of the shown labels of window that are cut: wider or taller
// than their label, or standing partly outside the window.
inline std::vector<std::string> ClippedLabels(QWidget& window) {
    std::vector<std::string> clipped;
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (!label->isVisibleTo(&window) || label->text().isEmpty())
            continue;
        const QFontMetrics metrics(label->font());
        const QRect inner = label->contentsRect();
        const QRect placed(label->mapTo(&window, QPoint(0, 0)), label->size());
        if (metrics.horizontalAdvance(label->text()) > inner.width() ||
            metrics.height() > inner.height() || !window.rect().contains(placed))
            clipped.push_back(label->text().toStdString());
    }
    return clipped;
}

} // namespace brimlo::testing
