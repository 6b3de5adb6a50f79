#pragma once

#include "load/LoadView.h"

#include <functional>
#include <optional>
#include <vector>

namespace brimlo {

// The keys the load window tells apart; every other key is Other.
enum class EntryKey {
    Tab,
    BackTab,
    Enter,
    Esc,
    PageUp,
    PageDown,
    Home,
    End,
    Up,
    Down,
    Left,
    Right,
    F1,
    F2,
    F3,
    F4,
    F5,
    F6,
    F7,
    F8,
    F9,
    F11,
    F12,
    Plus,
    Other,
};

// Where the key was pressed.
enum class KeyPlace {
    Header,      // a control of the header page
    RowEdit,     // an edit of the current log's row (DBH has its own place)
    RowSelector, // a drop-down list of the current log's row
    Dbh,         // the DBH edit
    Grid,        // the row grid as a whole
};

// What the window does with the key.
enum class KeyAction {
    Pass,          // the key goes on to the control as it is
    Typed,         // KeyTyped := true, and the key goes on to the control
    Swallow,       // KeyTyped := true, and the key is gone
    TabStep,       // the focus moves on as by Tab
    BackTabStep,   // and back as by Shift+Tab
    NextLogTab,    // NextOrAppendLog, focus the product, then one Tab step
    FocusRow,      // from the grid onto the row's species selector
    PageUp,        // by the visible rows, at most to the first log
    PageDown,      // likewise towards the last log
    FirstLog,      // then the focus as the rule says
    LastLog,       // likewise
    PriorLog,      // the focus stays where it is
    NextLog,       // likewise
    NextOrAppend,  // NextOrAppendLog, then the focus as the rule says
    ShowShortcuts, // F1
    SaveAndClose,  // F2
    ShowRanges,    // F3
    PrintFullLoad, // F5
    SwitchPage,    // F6, with the header checks on the way to the log page
    GoToLog,       // F7
    CullEntireLog, // F8
    ShiftCursor,   // F9: post, then the control the map names
    CancelLog,     // Esc in a row: the unposted changes go
};

struct KeyDecision {
    KeyAction action = KeyAction::Typed;
    // The control that gets the focus after the action, if any.
    std::optional<LoadControl> focus;
    // The key is none the map names for itself: KeyTyped := true.
    bool typed = false;
    // The focused control's text is selected, to be typed over.
    bool selectAll = false;
    // A Tab key (Enter counts as one): BackTab := whether it went back.
    std::optional<bool> backTab;
};

// The load window's keyboard map, without a widget: which key does what in
// which control on which page, and the focus order of both pages. The
// window asks it for every key and carries out the answer.
class DataEntryKeyMap {
public:
    static KeyDecision decide(bool logPage, KeyPlace at, EntryKey key);

    // The header page's controls in tab order, the hidden method selector
    // among them; the window skips what is no stop.
    static std::vector<LoadControl> headerTabOrder();
    // The row's controls in tab order for the load's method ("A" or not).
    static std::vector<LoadControl> rowTabOrder(bool alberta);
    // The stop Tab (forward) or Shift+Tab reaches from a control of order,
    // going round past either end; from no control of order, the first or
    // last stop. isStop tells what may take the focus now (shown, enabled,
    // writable); nullopt when nothing may.
    static std::optional<LoadControl> nextStop(const std::vector<LoadControl>& order,
                                               std::optional<LoadControl> at, bool forward,
                                               const std::function<bool(LoadControl)>& isStop);
    // F9 from a row control: the cull type when it stands before it, else
    // the flag when it stands before that, else the species.
    static LoadControl shiftCursorTarget(LoadControl at, bool alberta);
    // Whether an edit that has just become full moves the focus on as Tab
    // would: a header edit always, a row edit only when a key was typed
    // there, not when the load filled it.
    static bool advancesWhenFull(KeyPlace at, bool keyTyped);
};

} // namespace brimlo
