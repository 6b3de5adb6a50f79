#include "shell/WindowHooks.h"

namespace brimlo {

MainWindowHooks StandardWindowHooks() {
    MainWindowHooks hooks;
    // The data entry, maintenance, defaults and help windows, the reports
    // and the master export are connected here as they arrive.
    return hooks;
}

} // namespace brimlo
