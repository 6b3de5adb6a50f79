#pragma once

#include "support/KeyPolicy.h"

#include <functional>

class QKeyEvent;
class QWidget;

namespace brimlo {

// Carries out a control's key policy for one key press: Enter moves the
// focus on as a Tab pressed in the control would (the window sees that Tab
// too), a character the control does not take is dropped, a small letter
// reaches it as a capital. Everything else goes to deliver, the control's
// own key handling.
void PolicyKeyPress(QWidget& control, const KeyPolicy& policy, QKeyEvent* event,
                    const std::function<void(QKeyEvent*)>& deliver);

} // namespace brimlo
