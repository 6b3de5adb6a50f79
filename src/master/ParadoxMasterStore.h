#pragma once

#include "master/MasterStore.h"

namespace brimlo {

class MasterTable;

// master.db behind the store interface: the main window's master table,
// posted to as CMaster::PostToMaster does (locate the key, replace or add).
// Reading and finding leave the table on the record that was current, and
// the window's controls do not follow the scan. master.db keeps no poster
// and no posting time, and has one writer, so a post always stands.
class ParadoxMasterStore : public MasterStore {
public:
    explicit ParadoxMasterStore(MasterTable& table) : table_(table) {}

    int count() override;
    std::vector<Record> readPage(int first, int count) override;
    void forEach(const std::function<void(const Record&)>& visit) override;
    std::optional<Record> find(const MasterKey& key) override;
    void post(const MasterPost& post) override;
    bool remove(const MasterKey& key) override;

private:
    MasterTable& table_;
};

} // namespace brimlo
