#include "master/PolicyKeyPress.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace brimlo {

void PolicyKeyPress(QWidget& control, const KeyPolicy& policy, QKeyEvent* event,
                    const std::function<void(QKeyEvent*)>& deliver) {
    const KeyPolicy::Outcome outcome = policy.judge(event->key(), event->text());
    switch (outcome.verdict) {
    case KeyPolicy::Verdict::MoveOn: {
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QCoreApplication::sendEvent(&control, &tab);
        return;
    }
    case KeyPolicy::Verdict::Drop:
        return;
    case KeyPolicy::Verdict::Replace: {
        QKeyEvent replaced(event->type(), event->key(), event->modifiers(), outcome.text,
                           event->isAutoRepeat(), static_cast<ushort>(event->count()));
        deliver(&replaced);
        return;
    }
    case KeyPolicy::Verdict::Pass:
        deliver(event);
        return;
    }
}

} // namespace brimlo
