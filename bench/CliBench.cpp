// brimlo-cli as a script meets it: a new process each time, start-up and
// all, timed by the wall clock.
#include "MasterRecords.h"
#include "load/LoadData.h"
#include "load/LoadFileWriter.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

// Runs brimlo-cli to its end with its output thrown away; its exit status.
int RunCli(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    std::string program = BRIMLO_CLI;
    argv.push_back(program.data());
    std::vector<std::string> copies = args;
    for (std::string& arg : copies)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

class ScratchDir {
public:
    ScratchDir() {
        std::string pattern = (fs::temp_directory_path() / "brimlo-cli-bench-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~ScratchDir() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// A load of 30 logs as a scaler saves it, each file its own load number.
std::string LoadFileText(int n) {
    brimlo::LoadData load;
    brimlo::HeaderRecord& h = load.header;
    h.LESSEE = "LESSEE CO";
    h.MILL_CODE = "AB";
    h.LOAD_NUM = n;
    h.POP = 1;
    h.HTOPD = 10;
    h.HSPECIES = "S";
    h.HCONDCODE = "GR";
    h.HPRODCODE = "01";
    h.SAWLOGS = "N";
    h.DATEWEIGHED = brimlo::Date::fromYmd(2006, 12, 16);
    h.SCALER_NAME = "J SMITH";
    h.SCALER_PERMIT = "P123";
    for (int i = 1; i <= 30; ++i) {
        brimlo::LogRecord log;
        log.LOGNUM = i;
        log.SPECIES = i % 4 ? "S" : "P";
        log.CONDCODE = "GR";
        log.PRODCODE = "01";
        log.TOPD = static_cast<int16_t>(12 + 2 * (i % 10));
        log.LENGTH = static_cast<int16_t>(30 + 2 * (i % 15));
        log.BUTTD = static_cast<int16_t>(40 + 2 * (i % 10));
        log.GROSSVOL = 150 + i;
        log.PROD_OVERRIDE = "N";
        load.logs.push_back(log);
    }
    return brimlo::FormatLoadFile(load);
}

void BM_CliVersion(benchmark::State& state) {
    for (auto _ : state) {
        if (RunCli({"--version"}) != 0)
            state.SkipWithError("brimlo-cli --version failed");
    }
}
BENCHMARK(BM_CliVersion)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();

void BM_CliCheckThousandFiles(benchmark::State& state) {
    ScratchDir dir;
    std::vector<std::string> args = {"check"};
    for (int n = 1; n <= 1000; ++n) {
        const fs::path file = dir.path() / ("load" + std::to_string(n) + ".txt");
        std::ofstream(file, std::ios::binary) << LoadFileText(n);
        args.push_back(file.string());
    }
    for (auto _ : state) {
        if (RunCli(args) != 0)
            state.SkipWithError("brimlo-cli check did not find the files clean");
    }
}
BENCHMARK(BM_CliCheckThousandFiles)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_CliExportCsvFiftyThousand(benchmark::State& state) {
    ScratchDir dir;
    brimlo::bench::WriteFilledMaster((dir.path() / "master.db").string(), 50000);
    const std::string out = (dir.path() / "master.csv").string();
    // The first run makes the defaults table beside the master, as the
    // program does; it is not measured.
    RunCli({"export", "--data-dir", dir.path().string(), "--csv", out});
    for (auto _ : state) {
        if (RunCli({"export", "--data-dir", dir.path().string(), "--csv", out}) != 0)
            state.SkipWithError("brimlo-cli export failed");
    }
}
BENCHMARK(BM_CliExportCsvFiftyThousand)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

} // namespace
