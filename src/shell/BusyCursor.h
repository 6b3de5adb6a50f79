#pragma once

namespace brimlo {

// Shows the busy cursor for as long as it lives; nests.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace brimlo
