#pragma once

#include "shell/MainWindowHooks.h"

namespace brimlo {

// The windows and commands the program's main window is connected to. Each
// window made outside the main window is plugged in here.
MainWindowHooks StandardWindowHooks();

} // namespace brimlo
