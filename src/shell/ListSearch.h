#pragma once

#include <string>
#include <vector>

namespace brimlo {

// Finds the entry of a list that typed letters lead to, the way list boxes
// do it: a letter after a pause (or the first one after the list is entered)
// starts a new search from the entry after the current one, wrapping round;
// letters typed in quick succession continue the search; one letter typed
// again and again steps through the entries that begin with it. The search
// is kept here, not in the toolkit's item view, because that one restarts
// on an empty search by moving the current entry and runs its own clock.
class ListSearch {
public:
    // The next letter starts a new search.
    void restart() { typed_.clear(); }

    // The entry for one more typed letter, or -1 when none matches (the
    // current entry then stays). current is -1 when no entry is shown.
    int find(const std::vector<std::string>& entries, int current, char letter, bool quick);

private:
    std::string typed_;
};

} // namespace brimlo
