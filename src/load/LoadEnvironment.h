#pragma once

#include "support/Dataset.h"
#include "support/Value.h"

#include <functional>
#include <string>

namespace brimlo {

class LoadView;
class Prompt;
class WorkspaceCounter;

// What a load window is given by the main window that makes it.
struct LoadEnvironment {
    // Where the workspace tables go, ending with a separator.
    std::string appDataDirectory;
    // The defaults table, its one record current.
    Dataset* defaults = nullptr;
    // The run's workspace counter.
    WorkspaceCounter* counter = nullptr;
    // The window showing the load; nullptr shows nothing.
    LoadView* view = nullptr;
    // Where the load's messages and questions go; required.
    Prompt* prompt = nullptr;
    // Today's date; the system's local date when left empty.
    std::function<Date()> today;
};

} // namespace brimlo
