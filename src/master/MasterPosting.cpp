#include "master/MasterPosting.h"

#include "master/CMaster.h"
#include "master/MasterTable.h"

namespace brimlo {

void PostLoadToMaster(CMaster& master, MasterTable& table, const HeaderRecord& header,
                      const std::vector<LogRecord>& logs) {
    Dataset& dataset = table.dataset();
    const Bookmark mark = dataset.bookmark();
    master.BuildFromLoad(header, logs);
    master.PostToMaster(table);
    if (dataset.bookmarkValid(mark))
        dataset.gotoBookmark(mark);
}

} // namespace brimlo
