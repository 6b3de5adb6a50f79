#pragma once

#include "master/MasterKey.h"
#include "support/Value.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace brimlo {

// One post of a master record: the record (fields in table order), who
// posted it and when (microseconds since 1970, the posting computer's
// clock). Of two posts of the same key the one posted later stands, whatever
// order they reach the store in.
struct MasterPost {
    Record values;
    std::string postedBy;
    int64_t postedAt = 0;

    // Now, on this computer's clock.
    static int64_t Now();
};

// Where the master records live: master.db (the default) or a table on a
// database server shared by several scale houses. Records keep an order of
// their own (insertion order; a replaced record keeps its place), and every
// reader goes through them in that order. Every change is durable when the
// call returns. Failures throw BrimloError; a server that cannot be reached
// throws PgUnreachable.
class MasterStore {
public:
    virtual ~MasterStore() = default;

    virtual int count() = 0;
    // Records first to first + count - 1 in order (fewer at the end).
    virtual std::vector<Record> readPage(int first, int count) = 0;
    // Every record in order.
    virtual void forEach(const std::function<void(const Record&)>& visit) = 0;
    virtual std::optional<Record> find(const MasterKey& key) = 0;
    // Replaces the record with the post's key or adds one, in one step.
    virtual void post(const MasterPost& post) = 0;
    // False when there was no such record.
    virtual bool remove(const MasterKey& key) = 0;
};

} // namespace brimlo
