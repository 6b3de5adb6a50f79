#pragma once

#include "support/FieldDef.h"
#include "support/JournaledFile.h"
#include "support/TableStore.h"
#include "support/Value.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace brimlo {
class Dataset;
}

namespace brimlo::testing {

// A field as the file stores it: Paradox type code and width in bytes.
struct RefField {
    std::string name;
    int code;
    int width;
    bool operator==(const RefField&) const = default;
};

std::vector<RefField> RefFieldsOf(const FieldList& fields);

// What pxlib, an independent reader, finds in a table file.
struct PxContents {
    std::vector<RefField> fields;
    std::vector<Record> records;
};
// Throws std::runtime_error when pxlib cannot open or read the file.
PxContents PxRead(const std::string& path);
// Writes a new unkeyed table with pxlib.
void PxWrite(const std::string& path, const std::vector<RefField>& fields,
             const std::vector<Record>& records);

// A table file put together by hand, as another program might leave it.
struct HandMadeOptions {
    int blockKb = 2;
    int version = 0x0C;     // 0x09 for a level 4 table
    int perBlock = 0;       // records per block; 0 fills blocks
    bool reversed = false;  // chain blocks from the end of the file backwards
    bool freeBlock = false; // one free block on the free list
};
void WriteHandMade(const std::string& path, const std::vector<RefField>& fields,
                   const std::vector<Record>& records, const HandMadeOptions& options);

// The 105 fields of the master table, in order.
FieldList MasterLayoutForTests();
// A master record whose every field follows from key and seed, so a record
// mixed from two writes is recognised.
Record MasterRecordFor(int key, int seed);

// Assigns every field of the dataset's record, in order.
void SetFields(Dataset& ds, const Record& values);

// The values of the rows, in order.
std::vector<Record> RecordsOf(const std::vector<StoredRow>& rows);

// The seed each test master record was made from, by its load number (its
// key). A torn record or a key twice fails the test.
std::map<int, int> MasterSeedsIn(const std::vector<Record>& records);
// The same for a table file, which pxlib must read as we do.
std::map<int, int> MasterSeedsOf(const std::string& path);

// Posts test master records through a dataset on the store open gives: new
// loads, and loads posted before again, until the time is up (for ever when
// seconds is 0). Says "post key seed" to fd before each post and "done" once
// it returned; ends with exit code 2 after saying "error text" when a post
// fails. The loads it posts again are its own, with earlierLoads those the
// table held too. A shared poster makes each post a bulk of its own, so that
// the lock is held from its locate on; otherwise every other one is.
void PostMasterRecords(const std::function<std::unique_ptr<TableStore>()>& open, int fd, int who,
                       double seconds, bool earlierLoads, bool shared);

// What a poster said: the posts it finished and the one it had begun, as
// key and seed, and its error.
struct PostsSaid {
    std::vector<std::pair<int, int>> done;
    std::optional<std::pair<int, int>> unfinished;
    std::string error;
};
PostsSaid ParsePosts(const std::string& said);

} // namespace brimlo::testing
