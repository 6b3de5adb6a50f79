#pragma once

#include <string>

namespace brimlo {

// The kinds of window the main window holds in its client area.
enum class ChildKind { Load, Maintenance, Defaults, Ranges, Shortcuts, CheckScale };

// What the main window's commands ask of a child window. A child widget
// implements it when it has more to do than the defaults below.
class ChildWindow {
public:
    virtual ~ChildWindow() = default;

    // "&Save" while this window is active (load, maintenance, defaults).
    virtual void saveCommand() {}
    // "Save &As..." while this load window is active.
    virtual void saveAsCommand() {}
    // Exit's first pass: may this window close? A load window asks about
    // saving here and remembers that it asked.
    virtual bool closeQuery() { return true; }
    // After Tile or Cascade: a load window refits its log rows.
    virtual void refitRows() {}
    // The maintenance window hears that the master table moved: the text of
    // its record label, and whether it is the active child (otherwise it
    // refreshes when next activated).
    virtual void masterMoved(const std::string& /*recordLabel*/, bool /*active*/) {}
};

} // namespace brimlo
