#pragma once

#include <climits>
#include <cstdint>
#include <string>

namespace brimlo {

// The highest workspace number handed out in this run. The application
// keeps one; tests make their own so they stay independent.
class WorkspaceCounter {
public:
    int32_t value() const { return value_; }

    // The number of a new workspace in directory: the next one none of
    // whose files exist, so a workspace kept from an earlier run is never
    // overwritten. The counter becomes that number.
    int32_t takeFreeNumber(const std::string& directory);

    // One more, for a window that only needs a name (a taken-over
    // workspace keeps its own number).
    // Past the largest number it starts again at 1.
    int32_t increment() { return value_ = value_ == INT32_MAX ? 1 : value_ + 1; }

    // Later workspaces of this run get numbers above n.
    void raiseTo(int32_t n);

private:
    int32_t value_ = 0;
};

} // namespace brimlo
