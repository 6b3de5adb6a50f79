#include "master/RecordNavigator.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QToolButton>

namespace brimlo {

RecordNavigator::RecordNavigator(std::function<void(Step)> onStep, QWidget* parent)
    : QWidget(parent), onStep_(std::move(onStep)) {
    setFocusPolicy(Qt::StrongFocus);
    auto* buttons = new QHBoxLayout(this);
    buttons->setContentsMargins(2, 2, 2, 2);
    buttons->setSpacing(1);
}

QToolButton* RecordNavigator::addButton(Step step, const char* name, const char* text,
                                        const char* hint) {
    auto* button = new QToolButton(this);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(QString::fromLatin1(text));
    button->setToolTip(QString::fromLatin1(hint));
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QToolButton::clicked, this, [this, step] { onStep_(step); });
    layout()->addWidget(button);
    return button;
}

void RecordNavigator::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Left:
        onStep_(Step::Prior);
        return;
    case Qt::Key_Right:
        onStep_(Step::Next);
        return;
    case Qt::Key_Home:
        onStep_(Step::First);
        return;
    case Qt::Key_End:
        onStep_(Step::Last);
        return;
    case Qt::Key_Delete:
        onStep_(Step::Delete);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

// The focus must be seen: a frame round the buttons while they take keys.
void RecordNavigator::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = rect().adjusted(0, 0, -1, -1);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    painter.setPen(palette().highlight().color());
    painter.drawRect(option.rect);
}

void RecordNavigator::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void RecordNavigator::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

} // namespace brimlo
