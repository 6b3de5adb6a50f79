#pragma once

#include <cstdint>
#include <string>

namespace brimlo {

// The state a load window keeps beside its workspace: the guards of the
// log reactions, the codes last counted for the current log, and the
// bookkeeping of saving and closing.
struct LoadFlags {
    // The window is being built or a load file is read into it; field
    // reactions stay quiet until the window is first shown.
    bool Loading = true;
    // Off while a reaction rewrites several log fields itself.
    bool ReactionsEnabled = true;
    // Off while a species change re-derives the product code, so the
    // product reaction does not count the log a second time.
    bool ProductEventsEnabled = true;
    // On while a new log's defaults are filled in.
    bool InsertingLog = false;
    // A key other than the navigation keys was pressed since the last
    // auto-advance test (kept by the window).
    bool KeyTyped = false;
    // The last Tab was pressed with Shift (kept by the window).
    bool BackTab = false;
    int32_t LastLogNumber = 0;
    std::string PrevSpecies, PrevCondCode, PrevProdCode;

    // The load has changes not yet written to its load file.
    bool Modified = true;
    bool AskToSave = false;
    int32_t CloseAsked = 0;
    // The "Trim Allowance" box: the actual length is keyed in centimetres.
    bool TrimAllowance = false;
};

} // namespace brimlo
