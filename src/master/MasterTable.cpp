#include "master/MasterTable.h"

#include "master/MasterFields.h"

namespace brimlo {

bool MasterTable::locate(const std::string& millCode, int32_t loadNum, int16_t pop) {
    // An empty mill code is a null field, which the match treats alike.
    return dataset_.locate(
        {{"MILLCODE", millCode}, {"LOAD_NUM", loadNum}, {"POP", static_cast<int32_t>(pop)}});
}

void MasterTable::post(const Record& values, const std::vector<int>& fieldOrder,
                       bool replaceCurrent) {
    if (replaceCurrent)
        dataset_.edit();
    else
        dataset_.insert();
    try {
        for (int index : fieldOrder)
            dataset_.setField(index, values[static_cast<std::size_t>(index)]);
        dataset_.post();
    } catch (...) {
        dataset_.cancel();
        throw;
    }
}

void MasterTable::forEach(const std::function<void()>& visit) {
    for (dataset_.first(); !dataset_.eof(); dataset_.next())
        visit();
}

void MasterTable::forEachKeepingPlace(const std::function<void()>& visit) {
    const Bookmark mark = dataset_.bookmark();
    try {
        forEach(visit);
    } catch (...) {
        if (dataset_.bookmarkValid(mark))
            dataset_.gotoBookmark(mark);
        throw;
    }
    if (dataset_.bookmarkValid(mark))
        dataset_.gotoBookmark(mark);
}

} // namespace brimlo
