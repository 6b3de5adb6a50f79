#pragma once

#include "common/FileBytes.h"
#include "common/MemoryTableStore.h"
#include "master/MasterFields.h"
#include "support/Dataset.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
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

// Appends a master record given by field name; fields not named stay empty.
inline void AddMasterRecord(Dataset& master,
                            std::initializer_list<std::pair<const char*, Value>> values) {
    master.insert();
    for (const auto& [name, value] : values)
        master.setField(name, value);
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
