#pragma once

#include <QWidget>
#include <functional>

class QToolButton;

namespace brimlo {

// A record navigator that works from the keyboard as well as by its
// buttons: with the focus on it, Left and Right move to the prior and next
// record, Home and End to the first and last, Delete deletes the current
// one. The buttons themselves take no focus, so a click leaves the focus
// where it was.
class RecordNavigator : public QWidget {
public:
    enum class Step { First, Prior, Next, Last, Delete };

    RecordNavigator(std::function<void(Step)> onStep, QWidget* parent = nullptr);

    QToolButton* addButton(Step step, const char* name, const char* text, const char* hint);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    std::function<void(Step)> onStep_;
};

} // namespace brimlo
