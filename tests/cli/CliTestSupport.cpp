#include "cli/CliTestSupport.h"

#include "common/SampleLoad.h"
#include "load/LoadFileWriter.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <fstream>
#include <memory>
#include <sstream>

namespace brimlo::testing {

CliProcess::CliProcess(const std::vector<std::string>& args)
    : process_(std::make_unique<QProcess>()) {
    QStringList list;
    for (const std::string& arg : args)
        list << QString::fromStdString(arg);
    process_->start(QStringLiteral(BRIMLO_CLI), list);
}

CliProcess::~CliProcess() {
    finish();
}

// A run that hangs (two posters each waiting for the other's lock) fails
// within the minute and leaves no process behind.
CliResult CliProcess::finish() {
    QProcess& p = *process_;
    if (p.state() != QProcess::NotRunning && !p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished(-1);
        return {-1, {}, "brimlo-cli did not end within a minute"};
    }
    if (p.exitStatus() != QProcess::NormalExit)
        return {-1, {}, "brimlo-cli did not end normally"};
    return {p.exitCode(), p.readAllStandardOutput().toStdString(),
            p.readAllStandardError().toStdString()};
}

CliResult RunCli(const std::vector<std::string>& args) {
    return CliProcess(args).finish();
}

LoadData TypicalLoad(int32_t loadNum) {
    LoadData load;
    HeaderRecord& h = load.header = SampleHeader();
    h.DISP = h.SUBDISP = h.TM9 = h.SOURCE = "";
    h.LOAD_NUM = loadNum;
    h.HTOPD = 10;
    h.SCALER_NAME = "J SMITH";
    h.SCALER_PERMIT = "P123";
    return load;
}

std::string WriteLoad(const std::filesystem::path& file, const LoadData& load) {
    LoadData numbered = load;
    for (std::size_t i = 0; i < numbered.logs.size(); ++i)
        numbered.logs[i].LOGNUM = static_cast<int32_t>(i + 1);
    std::ofstream(file, std::ios::binary) << FormatLoadFile(numbered);
    return file.string();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

QJsonValue JsonAt(const std::string& json, const std::string& path) {
    QJsonValue value = QJsonDocument::fromJson(QByteArray::fromStdString(json)).object();
    std::istringstream steps(path);
    for (std::string step; std::getline(steps, step, '/');)
        value = value.isArray() ? value[std::stoi(step)] : value[QString::fromStdString(step)];
    return value;
}

} // namespace brimlo::testing
