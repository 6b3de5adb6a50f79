#include "shell/WindowHooks.h"

#include "shell/DataEntryHooks.h"

namespace brimlo {

MainWindowHooks StandardWindowHooks() {
    MainWindowHooks hooks;
    AddDataEntryHooks(hooks);
    // The data entry, maintenance, defaults and help windows, the reports
    // and the master export are connected here as they arrive.
    return hooks;
}

} // namespace brimlo
