#include "master/ParadoxMasterStore.h"

#include "load/BulkScope.h"
#include "master/MasterFields.h"
#include "master/MasterTable.h"
#include "support/Dataset.h"

namespace brimlo {

namespace {

// Moves made inside stay out of sight of the window's controls, and the
// table returns to its record afterwards.
template <class Work> auto KeepingPlace(Dataset& dataset, const Work& work) {
    const Bookmark mark = dataset.bookmark();
    dataset.disableControls();
    struct Restore {
        Dataset& dataset;
        const Bookmark& mark;
        ~Restore() {
            if (dataset.bookmarkValid(mark))
                dataset.gotoBookmark(mark);
            dataset.enableControls();
        }
    } restore{dataset, mark};
    return work();
}

} // namespace

int ParadoxMasterStore::count() {
    return table_.recordCount();
}

std::vector<Record> ParadoxMasterStore::readPage(int first, int count) {
    std::vector<Record> records;
    int n = 0;
    KeepingPlace(table_.dataset(), [&] {
        table_.forEach([&] {
            if (n >= first && n < first + count)
                records.push_back(table_.current());
            ++n;
        });
        return 0;
    });
    return records;
}

void ParadoxMasterStore::forEach(const std::function<void(const Record&)>& visit) {
    KeepingPlace(table_.dataset(), [&] {
        table_.forEach([&] { visit(table_.current()); });
        return 0;
    });
}

std::optional<Record> ParadoxMasterStore::find(const MasterKey& key) {
    return KeepingPlace(table_.dataset(), [&]() -> std::optional<Record> {
        if (!table_.locate(key.millCode, key.loadNum, key.pop))
            return std::nullopt;
        return table_.current();
    });
}

void ParadoxMasterStore::post(const MasterPost& post) {
    const MasterKey key = MasterKey::Of(post.values);
    Dataset& dataset = table_.dataset();
    KeepingPlace(dataset, [&] {
        // As CMaster::PostToMaster: another process may post to the same
        // file, so the lookup and the write share one hold of its lock.
        BulkScope bulk(dataset);
        const bool found = table_.locate(key.millCode, key.loadNum, key.pop);
        table_.post(post.values, MasterPostFieldOrder(), found);
        bulk.finish();
        return 0;
    });
}

bool ParadoxMasterStore::remove(const MasterKey& key) {
    if (!table_.locate(key.millCode, key.loadNum, key.pop))
        return false;
    table_.dataset().remove();
    return true;
}

} // namespace brimlo
