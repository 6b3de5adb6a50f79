#pragma once

#include "master/MasterFields.h"
#include "support/BrimloError.h"
#include "support/Dataset.h"
#include "support/TableStore.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace brimlo::testing {

// A table kept in memory, in insertion order; writes can be made to fail.
class MemoryTableStore : public TableStore {
public:
    explicit MemoryTableStore(FieldList fields) : fields_(std::move(fields)) {}

    const FieldList& fields() const override { return fields_; }
    std::vector<StoredRow> readAll() override {
        std::vector<StoredRow> rows;
        for (const auto& [id, values] : rows_)
            rows.push_back({id, values});
        return rows;
    }
    RowId insert(const Record& values) override {
        failIfAsked();
        rows_.emplace(++lastId_, values);
        return lastId_;
    }
    void update(RowId id, const Record& values) override {
        failIfAsked();
        rows_[id] = values;
    }
    void remove(RowId id) override { rows_.erase(id); }
    void beginBulk() override {}
    void endBulk() override {}
    void pack() override {}

    bool failWrites = false;

private:
    void failIfAsked() const {
        if (failWrites)
            throw BrimloError("Cannot write master.db");
    }
    FieldList fields_;
    std::map<RowId, Record> rows_;
    RowId lastId_ = 0;
};

inline std::unique_ptr<Dataset> NewMasterDataset(MemoryTableStore** store = nullptr) {
    auto memory = std::make_unique<MemoryTableStore>(MasterFieldList());
    if (store)
        *store = memory.get();
    return std::make_unique<Dataset>(std::move(memory));
}

// Appends a master record given by field name; fields not named stay empty.
inline void AddMasterRecord(Dataset& master,
                            std::initializer_list<std::pair<const char*, Value>> values) {
    master.insert();
    for (const auto& [name, value] : values)
        master.setField(name, value);
    master.post();
}

inline std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary);
    out << bytes;
}

// Lines printed by a Python script given the file as its argument.
inline std::vector<std::string> RunPython(const std::string& script,
                                          const std::filesystem::path& file) {
    const std::filesystem::path scriptFile = file.parent_path() / "check.py";
    WriteBytes(scriptFile, script);
    const std::string command =
        "/usr/bin/python3 '" + scriptFile.string() + "' '" + file.string() + "' 2>&1";
    std::vector<std::string> lines;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return lines;
    std::string line;
    for (int c = std::fgetc(pipe); c != EOF; c = std::fgetc(pipe)) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += static_cast<char>(c);
        }
    }
    if (!line.empty())
        lines.push_back(line);
    ::pclose(pipe);
    std::filesystem::remove(scriptFile);
    return lines;
}

} // namespace brimlo::testing
