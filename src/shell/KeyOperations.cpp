#include "shell/KeyOperations.h"

namespace brimlo {

bool AdvanceWhenFull(const QString& text, int maxLength) {
    return maxLength > 0 && text.size() == maxLength;
}

bool ShiftHeld(Qt::KeyboardModifiers state) {
    return state.testFlag(Qt::ShiftModifier);
}

bool SwallowKey(QString& key, QChar character) {
    if (key != QString(character))
        return false;
    key.clear();
    return true;
}

} // namespace brimlo
