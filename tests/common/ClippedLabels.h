#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>
#include <string>
#include <vector>

namespace brimlo::testing {

// The texts of the shown labels of window that are cut: wider or taller
// than their label (a text of several lines by its widest line), or
// standing partly outside the window.
inline std::vector<std::string> ClippedLabels(QWidget& window) {
    std::vector<std::string> clipped;
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (!label->isVisibleTo(&window) || label->text().isEmpty())
            continue;
        const QFontMetrics metrics(label->font());
        const QSize need = metrics.boundingRect(QRect(), Qt::AlignLeft, label->text()).size();
        const QRect inner = label->contentsRect();
        const QRect placed(label->mapTo(&window, QPoint(0, 0)), label->size());
        if (need.width() > inner.width() || need.height() > inner.height() ||
            !window.rect().contains(placed))
            clipped.push_back(label->text().toStdString());
    }
    return clipped;
}

// The captions and controls shown on page that touch another one on their
// line (closer than two pixels) or stand partly outside the page, as
// "caption or object name" texts.
inline std::vector<std::string> CrowdedParts(QWidget& page) {
    std::vector<std::pair<const QWidget*, QRect>> parts;
    for (const QWidget* part : page.findChildren<QWidget*>()) {
        const bool shown =
            qobject_cast<const QLabel*>(part) || qobject_cast<const QLineEdit*>(part) ||
            qobject_cast<const QComboBox*>(part) || qobject_cast<const QAbstractButton*>(part);
        if (shown && part->isVisibleTo(&page) &&
            !qobject_cast<const QComboBox*>(part->parentWidget()))
            parts.emplace_back(part, QRect(part->mapTo(&page, QPoint(0, 0)), part->size()));
    }
    auto name = [](const QWidget* part) {
        const auto* label = qobject_cast<const QLabel*>(part);
        const auto* button = qobject_cast<const QAbstractButton*>(part);
        return (label ? label->text() : button ? button->text() : part->objectName()).toStdString();
    };
    std::vector<std::string> crowded;
    for (size_t i = 0; i < parts.size(); ++i) {
        const QRect& a = parts[i].second;
        bool touches = !page.rect().contains(a);
        for (size_t j = 0; j < parts.size(); ++j) {
            const QRect& b = parts[j].second;
            const bool sameLine = a.top() <= b.bottom() && b.top() <= a.bottom();
            touches |= i != j && sameLine && a.right() + 2 >= b.left() && b.right() + 2 >= a.left();
        }
        if (touches)
            crowded.push_back(name(parts[i].first));
    }
    return crowded;
}

} // namespace brimlo::testing
