#pragma once

#include "support/Dataset.h"

namespace brimlo {

// Many posts of a dataset reach the disk as one. finish() ends the bulk and
// reports its failure; an error on the way ends it quietly, the error
// already on its way being the one to show.
class BulkScope {
public:
    explicit BulkScope(Dataset& dataset) : dataset_(dataset) { dataset_.beginBulk(); }
    ~BulkScope() {
        if (!open_)
            return;
        try {
            dataset_.endBulk();
        } catch (...) { // see above
        }
    }
    BulkScope(const BulkScope&) = delete;
    BulkScope& operator=(const BulkScope&) = delete;

    void finish() {
        open_ = false;
        dataset_.endBulk();
    }

private:
    Dataset& dataset_;
    bool open_ = true;
};

} // namespace brimlo
