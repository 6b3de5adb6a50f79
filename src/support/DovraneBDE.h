#pragma once

#include "support/Dataset.h"

namespace brimlo {

// True when the dataset is in edit or insert state.
bool IsEditing(const Dataset& dataset);

// Reclaims the space of the table's deleted records; false when that failed.
bool PackTable(Dataset& dataset);

// Returns the dataset to the remembered record and forgets the bookmark.
void GotoAndFreeBookmark(Bookmark& bookmark, Dataset& dataset);

} // namespace brimlo
