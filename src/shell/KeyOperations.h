#pragma once

#include <QString>
#include <Qt>

namespace brimlo {

// Key operations shared by the windows.

// True when the text has reached the edit's maximum length: the edit then
// moves on as by Tab. An edit without a length limit never advances.
bool AdvanceWhenFull(const QString& text, int maxLength);

// True when Shift is part of the keyboard state.
bool ShiftHeld(Qt::KeyboardModifiers state);

// A key equal to the character is swallowed: it becomes none and the
// answer is true; any other key stays as it is.
bool SwallowKey(QString& key, QChar character);

} // namespace brimlo
