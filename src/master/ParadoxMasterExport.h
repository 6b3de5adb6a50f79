#pragma once

#include <filesystem>

namespace brimlo {

class MasterStore;

// Writes every record of a master store, in its order, as a Paradox
// master.db at target, the file other programs read. The table is built
// beside the target and moved over it when complete: readers see the old
// file or the whole new one. Returns the number of records written; errors
// throw BrimloError and leave an earlier file as it was.
int ExportParadoxMaster(MasterStore& source, const std::filesystem::path& target);

} // namespace brimlo
