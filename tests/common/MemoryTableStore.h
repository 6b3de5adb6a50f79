#pragma once

#include "support/BrimloError.h"
#include "support/TableStore.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace brimlo::testing {

// A table kept in memory in insertion order. It can note each write in a
// log the test reads, and can be told to fail its writes like a full disk.
class MemoryTableStore : public TableStore {
public:
    explicit MemoryTableStore(FieldList fields, std::vector<std::string>* log = nullptr)
        : fields_(std::move(fields)), log_(log) {}

    const FieldList& fields() const override { return fields_; }
    std::vector<StoredRow> readAll() override {
        std::vector<StoredRow> out;
        for (const auto& [id, values] : rows)
            out.push_back({id, values});
        return out;
    }
    RowId insert(const Record& values) override {
        write("insert");
        rows[++lastId_] = values;
        return lastId_;
    }
    void update(RowId id, const Record& values) override {
        write("update");
        rows.at(id) = values;
    }
    void remove(RowId id) override {
        write("remove");
        rows.erase(id);
    }
    void beginBulk() override {}
    void endBulk() override {}
    void pack() override { write("pack"); }

    bool failWrites = false;
    std::map<RowId, Record> rows;

private:
    void write(const char* what) {
        if (failWrites)
            throw BrimloError("Cannot write the table: disk full");
        if (log_)
            log_->push_back(std::string("write:") + what);
    }

    FieldList fields_;
    std::vector<std::string>* log_;
    RowId lastId_ = 0;
};

} // namespace brimlo::testing
