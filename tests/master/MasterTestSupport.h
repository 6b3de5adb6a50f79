#pragma once

#include "common/FileBytes.h"
#include "common/MemoryTableStore.h"
#include "common/SampleLoad.h"
#include "master/CMaster.h"
#include "master/MasterFields.h"
#include "support/Dataset.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace brimlo::testing {

inline std::unique_ptr<Dataset> NewMasterDataset(MemoryTableStore** store = nullptr) {
    auto memory = std::make_unique<MemoryTableStore>(MasterFieldList());
    if (store)
        *store = memory.get();
    return std::make_unique<Dataset>(std::move(memory));
}

// The worked example's load with three groups, the last without logs.
inline CMaster ThreeGroupMaster() {
    CMaster m;
    m.BuildFromLoad(SampleHeader(), LoadSummary{});
    m.summary.NUM_GROUPS = 3;
    m.summary.TOTALLOGS = 6;
    m.summary.groups[0] = {"S  GR 01", 2, 9.6, 0.448, 0.02, 0.428, 4.4642857142857144};
    m.summary.groups[1] = {"SP D 01", 4, 20.1, 1.234, 0.0, 1.234, 0.0};
    m.summary.groups[2] = {"P  GR 02", 0, 0.0, 0.0, 0.0, 0.0, 0.0};
    return m;
}

// The three-group load under another key and net weight.
inline CMaster MasterLoad(const char* millCode, int32_t loadNum, int16_t pop, int32_t weight) {
    CMaster m = ThreeGroupMaster();
    m.MILLCODE = millCode;
    m.LOAD_NUM = loadNum;
    m.POP = pop;
    m.NET_WEIGHT = weight;
    return m;
}

// Appends a master record given by field name; fields not named stay empty.
inline void AddMasterRecord(Dataset& master,
                            std::initializer_list<std::pair<const char*, Value>> values) {
    master.insert();
    for (const auto& [name, value] : values)
        master.setField(name, value);
    master.post();
}

// Appends a whole record as it stands, without the posting rules.
inline void AddRecord(Dataset& master, const Record& record) {
    master.insert();
    for (std::size_t i = 0; i < record.size(); ++i)
        master.setField(static_cast<int>(i), record[i]);
    master.post();
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
    for (char line[4096]; pipe && std::fgets(line, sizeof line, pipe);)
        lines.emplace_back(line, std::strcspn(line, "\n"));
    if (pipe)
        ::pclose(pipe);
    std::filesystem::remove(scriptFile);
    return lines;
}

} // namespace brimlo::testing
