#pragma once

#include "common/FileBytes.h"
#include "common/SampleLog.h"
#include "common/TempDir.h"
#include "load/LoadData.h"

#include <QJsonValue>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class QProcess;

namespace brimlo::testing {

// What one run of the real brimlo-cli gave.
struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs brimlo-cli with the arguments and waits for it.
CliResult RunCli(const std::vector<std::string>& args);
// Starts it and returns at once; Finish waits.
class CliProcess {
public:
    explicit CliProcess(const std::vector<std::string>& args);
    ~CliProcess();
    CliResult finish();

private:
    std::unique_ptr<QProcess> process_;
};

// A load a scaler might save: mill code "AB", population 1, load number
// loadNum, method "S", scaler and permit given, weighed 2006/12/16; logs
// are added by the test.
LoadData TypicalLoad(int32_t loadNum = 123);

// Writes the load as a load file and returns its name.
std::string WriteLoad(const std::filesystem::path& file, const LoadData& load);

std::vector<std::string> Lines(const std::string& text);

// The value at a path of keys and indexes ("summary/groups/0/LOGNUMS") in
// JSON text; undefined where there is none.
QJsonValue JsonAt(const std::string& json, const std::string& path);

} // namespace brimlo::testing
