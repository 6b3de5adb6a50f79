#include "support/DovraneBDE.h"

#include "support/BrimloError.h"

namespace brimlo {

bool IsEditing(const Dataset& dataset) {
    return dataset.isEditing();
}

bool PackTable(Dataset& dataset) {
    try {
        dataset.pack();
        return true;
    } catch (const BrimloError&) {
        return false;
    }
}

void GotoAndFreeBookmark(Bookmark& bookmark, Dataset& dataset) {
    const Bookmark mark = bookmark;
    bookmark = Bookmark{};
    dataset.gotoBookmark(mark);
}

} // namespace brimlo
