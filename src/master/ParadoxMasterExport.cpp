#include "master/ParadoxMasterExport.h"

#include "master/MasterFields.h"
#include "master/MasterStore.h"
#include "support/BrimloError.h"
#include "support/JournaledFile.h"
#include "support/LocalFileName.h"
#include "support/ParadoxTable.h"

#include <fcntl.h>
#include <unistd.h>

namespace brimlo {

namespace {

void Sync(const std::filesystem::path& path, int flags) {
    const int fd = ::open(path.empty() ? "." : path.c_str(), flags);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

int ExportParadoxMaster(MasterStore& source, const std::filesystem::path& target) {
    // Built under the target's own name, which the table's header records,
    // in a folder of its own beside it.
    const std::filesystem::path folder =
        target.parent_path() / (".~export-" + std::to_string(::getpid()));
    const std::filesystem::path building = folder / target.filename();
    const auto cleanUp = [&] {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    };
    int written = 0;
    try {
        std::filesystem::create_directory(folder);
        {
            std::unique_ptr<ParadoxTable> table =
                ParadoxTable::create(building.string(), MasterFieldList());
            table->beginBulk();
            source.forEach([&](const Record& record) {
                table->insert(record);
                ++written;
            });
            table->endBulk();
        }
        Sync(building, O_RDONLY);
        // A journal left beside the old file by a writer that stopped
        // midway would be rolled back onto the new one.
        std::filesystem::remove(JournaledFile::journalPath(target.string()));
        std::filesystem::rename(building, target);
    } catch (const std::filesystem::filesystem_error& e) {
        cleanUp();
        throw BrimloError("Cannot write '" + ShownFileName(target) + "': " + e.code().message());
    } catch (...) {
        cleanUp();
        throw;
    }
    cleanUp();
    Sync(target.parent_path(), O_RDONLY | O_DIRECTORY);
    return written;
}

} // namespace brimlo
