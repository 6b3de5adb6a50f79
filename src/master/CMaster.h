#pragma once

#include "load/HeaderRecord.h"
#include "load/LoadSummary.h"
#include "load/LogRecord.h"
#include "support/Value.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace brimlo {

class MasterStore;
class MasterTable;
class Prompt;

// The master record in memory: one member per master field, the header
// members named after their fields and the load summary's twelve groups.
// One object serves the whole run; whoever fills it uses it at once.
class CMaster {
public:
    std::string MILLCODE;
    int16_t POP = 0;
    int32_t MILL_NUM = 0;
    char SAWLOGS = '\0'; // '\0' while no value was set
    std::string LESSEE;
    std::string MILL_NAME;
    std::string DISP;
    std::string SUBDISP;
    std::string BLOCK_NUM;
    int32_t LOAD_NUM = 0;
    int16_t TOP_D = 0;
    Date WEIGH_DATE;
    int32_t NET_WEIGHT = 0; // kg
    std::string TM9;
    std::string HSPECIES;
    std::string HCONDCODE;
    std::string HPRODCODE;
    std::string SOURCE;
    int32_t TREES = 0;
    LoadSummary summary; // groups, NUM_GROUPS, TOTALLOGS

    // All twelve groups empty and zero.
    void ClearSummary();

    // Clears the summary, copies the header and computes the summary from
    // the header's combination and the logs. An empty SAWLOGS throws the
    // range error before the summary is computed.
    void BuildFromLoad(const HeaderRecord& header, const std::vector<LogRecord>& logs);
    // The same with a summary computed elsewhere.
    void BuildFromLoad(const HeaderRecord& header, const LoadSummary& loadSummary);

    // The members as a master record, fields in table order, all twelve
    // groups written.
    Record ToMasterRecord() const;
    // Fills the members from a master record. An empty SAWLOGS there takes
    // the defaults record's; both empty throws the range error. Groups after
    // NUM_GROUPS are left as they stand.
    bool LoadFromMaster(const Record& record, const std::string& defaultSawlogs);
    // The same from the table's current record.
    bool LoadFromMaster(const MasterTable& table, const std::string& defaultSawlogs);
    // Every member but SAWLOGS, which the sample tables do not carry.
    void CopyFromMaster(const Record& record);
    void CopyFromMaster(const MasterTable& table);

    static bool LocateMaster(MasterTable& table, const std::string& millCode, int32_t loadNum,
                             int16_t pop);
    // Replaces the record with this object's key, or adds one.
    bool PostToMaster(MasterTable& table) const;

    // The master ASCII file of every master record in table order; the
    // table returns to its current record. False, after telling the user on
    // prompt, when the file cannot be written. Whatever stops it, an earlier
    // file of that name stays as it was.
    bool WriteMasterAscii(const std::string& fileName, MasterTable& table,
                          const std::string& defaultSawlogs, Prompt& prompt);
    // The same from a master store (a database server's master), in its
    // order.
    bool WriteMasterAscii(const std::string& fileName, MasterStore& store,
                          const std::string& defaultSawlogs, Prompt& prompt);
    // One line of the members as they stand, groups firstGroup to
    // firstGroup + 3, with its line end.
    void WriteMasterAsciiLine(std::string& file, int firstGroup, double grossPerTree) const;

private:
    template <class FieldAt> void CopyHeaderFromMaster(const FieldAt& fieldAt);
    template <class FieldAt> void CopyGroupsFromMaster(const FieldAt& fieldAt);
    template <class FieldAt>
    void LoadSawlogs(const FieldAt& fieldAt, const std::string& defaultSawlogs);
    void WriteRecordLines(std::string& file) const;
    // The file's writing, over records that forEachRecord loads into this
    // object one after the other, calling its argument after each.
    bool WriteMasterAsciiOf(const std::string& fileName, Prompt& prompt,
                            const std::function<void(const std::function<void()>&)>& forEachRecord);
    // The error of a value outside its range (an empty SAWLOGS has no first
    // character), shown in the application's error box.
    [[noreturn]] static void RangeError();
};

} // namespace brimlo
