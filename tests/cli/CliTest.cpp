// The real brimlo-cli, run as a script would run it.
#include "PdfWords.h"
#include "common/CheckScaleLoads.h"
#include "common/FileBytes.h"
#include "common/PostgresServer.h"
#include "common/SampleLoad.h"
#include "common/SampleLog.h"
#include "common/ScriptedPrompt.h"
#include "common/SilentPrompt.h"
#include "common/TempDir.h"
#include "load/CheckScaleComparison.h"
#include "load/LoadFileReader.h"
#include "load/LoadFileWriter.h"
#include "master/CMaster.h"
#include "master/MasterExport.h"
#include "master/MasterTable.h"
#include "reports/CheckScaleReport.h"
#include "reports/LoadLogReport.h"
#include "reports/LoadSummaryReport.h"
#include "reports/MasterFullReport.h"
#include "reports/MasterSummaryReport.h"
#include "support/Dataset.h"
#include "support/ParadoxStore.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <functional>
#include <gtest/gtest.h>
#include <regex>
#include <set>
#include <sstream>

namespace brimlo::testing {
namespace {

namespace fs = std::filesystem;

// What one run of the real brimlo-cli gave.
struct CliResult {
    int exitCode = -1;
    std::string out, err;
};

// Starts brimlo-cli with the arguments; finish() waits for it.
class CliProcess {
public:
    explicit CliProcess(const std::vector<std::string>& args) {
        QStringList list;
        for (const std::string& arg : args)
            list << QString::fromStdString(arg);
        process_.start(QStringLiteral(BRIMLO_CLI), list);
    }
    ~CliProcess() { finish(); }

    // A run that hangs (two posters each waiting for the other's lock)
    // fails within the minute and leaves no process behind.
    CliResult finish() {
        if (process_.state() != QProcess::NotRunning && !process_.waitForFinished(60000)) {
            process_.kill();
            process_.waitForFinished(-1);
            return {-1, {}, "brimlo-cli did not end within a minute"};
        }
        if (process_.exitStatus() != QProcess::NormalExit)
            return {-1, {}, "brimlo-cli did not end normally"};
        return {process_.exitCode(), process_.readAllStandardOutput().toStdString(),
                process_.readAllStandardError().toStdString()};
    }

private:
    QProcess process_;
};

CliResult RunCli(const std::vector<std::string>& args) {
    return CliProcess(args).finish();
}

// A load a scaler might save: mill code "AB", population 1, load number
// loadNum, method "S", scaler and permit given, weighed 2006/12/16; logs
// are added by the test.
LoadData TypicalLoad(int32_t loadNum = 123) {
    LoadData load;
    HeaderRecord& h = load.header = SampleHeader();
    h.DISP = h.SUBDISP = h.TM9 = h.SOURCE = "";
    h.LOAD_NUM = loadNum;
    h.HTOPD = 10;
    h.SCALER_NAME = "J SMITH";
    h.SCALER_PERMIT = "P123";
    return load;
}

// Writes the load, its logs numbered in turn, as a load file and returns its name.
std::string WriteLoad(const fs::path& file, const LoadData& load) {
    LoadData numbered = load;
    for (std::size_t i = 0; i < numbered.logs.size(); ++i)
        numbered.logs[i].LOGNUM = static_cast<int32_t>(i + 1);
    WriteBytes(file, FormatLoadFile(numbered));
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

// The value at a path of keys and indexes ("summary/groups/0/LOGNUMS") in
// JSON text; undefined where there is none.
QJsonValue JsonAt(const std::string& json, const std::string& path) {
    QJsonValue value = QJsonDocument::fromJson(QByteArray::fromStdString(json)).object();
    std::istringstream steps(path);
    for (std::string step; std::getline(steps, step, '/');)
        value = value.isArray() ? value[std::stoi(step)] : value[QString::fromStdString(step)];
    return value;
}

// The brimlo-cli's PDF shows the words of the program's at the same places.
void ExpectSamePdf(const std::string& cliPdf, const std::string& programPdf) {
    const std::vector<PdfPage> got = ReadPdfWords(cliPdf), want = ReadPdfWords(programPdf);
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t p = 0; p < got.size(); ++p) {
        ASSERT_EQ(got[p].words.size(), want[p].words.size()) << "page " << p;
        for (std::size_t w = 0; w < got[p].words.size(); ++w) {
            EXPECT_EQ(got[p].words[w].text, want[p].words[w].text);
            EXPECT_NEAR(got[p].words[w].left, want[p].words[w].left, 0.05);
            EXPECT_NEAR(got[p].words[w].top, want[p].words[w].top, 0.05);
        }
    }
}

struct CliFiles : ::testing::Test {
    void SetUp() override {
        LoadData good = TypicalLoad();
        good.logs = {SampleLog("S", 20, 50, 26, 250)};
        WriteLoad(temp / "good.txt", good);

        LoadData faulty = TypicalLoad();
        LogRecord badPair = SampleLog("S", 20, 50, 26, 250);
        badPair.CULL_TYPE = "1";
        badPair.CULL_METH = "8";
        LogRecord badPercent = SampleLog("S", 20, 50, 26, 250, 10);
        badPercent.CULL_TYPE = "4";
        badPercent.CULL_METH = "3";
        badPercent.C1 = 120;
        faulty.logs = {SampleLog("S", 20, 50, 26, 250), SampleLog("S", 21, 50, 26, 250),
                       SampleLog("S", 22, 50, 20, 250), badPair, badPercent};
        faulty.header.DISP = "ctl";
        faulty.header.SCALER_PERMIT = "";
        WriteLoad(temp / "faulty.txt", faulty);

        WriteBytes(temp / "noheader.txt",
                   "0   1S GR01 20 50  0  0  0    250    0  26   1 0N  0\r\n");
    }
    std::string path(const std::string& name) const { return (temp / name).string(); }

    TempDir temp;
};

struct CheckCase {
    const char* name;
    std::vector<std::string> files;
    int exitCode;
    std::vector<std::string> out; // "{name}" stands for the path of the file name
    std::vector<std::string> err;
};

const std::vector<std::string> kFaultyLines = {
    "{faulty.txt}:2: Top Diameter must be an even number.",
    "{faulty.txt}:3: Top Diameter must be less than or equal to Butt Diameter.",
    "{faulty.txt}:3: Butt Diameter must be greater than or equal to Top Diameter.",
    "{faulty.txt}:4: Invalid Cull Method '8' entered for Cull Type '1'",
    "{faulty.txt}:5: Cull percentage has to be less than or equal to 100.",
    "{faulty.txt}:6: Valid Dispositions: CTL,CTP,DTL,DTP,FMA,<blank>",
    // The source read from the file is blanks, which the source check takes
    // for a value.
    "{faulty.txt}:6: Cannot have values for both disposition and source",
    "{faulty.txt}:6: Scaler Permit must have a value"};
const char* const kMissingLine = "{missing.txt}: Error: Unable to open file: '{missing.txt}'";
const char* const kNoHeaderLine =
    "{noheader.txt}: Unable to complete loading log data due to file format error.";

const CheckCase kCheckCases[] = {
    {"Clean", {"good.txt"}, 0, {}, {}},
    {"Faulty", {"faulty.txt"}, 1, kFaultyLines, {}},
    {"NoHeader", {"noheader.txt"}, 2, {}, {kNoHeaderLine}},
    {"Unreadable", {"missing.txt", "good.txt", "faulty.txt"}, 2, kFaultyLines, {kMissingLine}},
};

struct CheckTest : CliFiles, ::testing::WithParamInterface<CheckCase> {
    // The lines with every "{name}" replaced by that file's path.
    std::vector<std::string> filled(std::vector<std::string> lines) const {
        for (std::string& line : lines)
            line = std::regex_replace(line, std::regex("\\{([^}]*)\\}"), path("$1"));
        return lines;
    }
};

TEST_P(CheckTest, PrintsTheProgramsMessages) {
    const CheckCase& c = GetParam();
    std::vector<std::string> args = {"check"};
    for (const std::string& file : c.files)
        args.push_back(path(file));
    const CliResult result = RunCli(args);
    EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
    EXPECT_EQ(Lines(result.out), filled(c.out));
    EXPECT_EQ(Lines(result.err), filled(c.err));
}

INSTANTIATE_TEST_SUITE_P(, CheckTest, ::testing::ValuesIn(kCheckCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CliCommandLine, VersionAndHelp) {
    EXPECT_EQ(Lines(RunCli({"--version"}).out),
              std::vector<std::string>{std::string("brimlo-cli ") + BRIMLO_VERSION_TEXT});
    const CliResult help = RunCli({"post", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(Lines(help.out).front(),
              "usage: brimlo-cli post FILE... [--data-dir DIR] [--master URI]");
}

TEST_F(CliFiles, ShowJsonGivesTheLoadAsComputedByHand) {
    LoadData load = TypicalLoad();
    load.logs = {SampleLog("S", 20, 50, 26, 250, 20), SampleLog("S", 20, 46, 24, 198)};
    const CliResult r = RunCli({"show", WriteLoad(temp / "two.txt", load), "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(JsonAt(r.out, "logs").toArray().size(), 2);
    const std::pair<std::string, double> numbers[] = {
        {"logs/0/NETVOL", 230},   {"logs/1/NETVOL", 198},    {"logs/1/line", 2},
        {"header/LOAD_NUM", 123}, {"tally/combinations", 1}, {"summary/NUM_GROUPS", 1},
        {"summary/TOTALLOGS", 2}};
    for (const auto& [path, want] : numbers)
        EXPECT_EQ(JsonAt(r.out, path).toDouble(), want) << path;
    // The group's figures; CULLPER is 20 of 448 litres in percent.
    const std::pair<std::string, double> group[] = {
        {"LOGNUMS", 2},    {"LENGTH", 9.6},   {"GROSSVOL", 0.448},
        {"CULLVOL", 0.02}, {"NETVOL", 0.428}, {"CULLPER", 4.464285714285714}};
    for (const auto& [field, want] : group)
        EXPECT_NEAR(JsonAt(r.out, "summary/groups/0/" + field).toDouble(), want, 1e-9) << field;
    EXPECT_EQ(JsonAt(r.out, "tally/entries/0/key").toString(), QStringLiteral(" SGR01"));
    EXPECT_EQ(JsonAt(r.out, "summary/groups/0/SPCDPR").toString(), QStringLiteral("S  GR 01"));
}

TEST_F(CliFiles, RecomputeSwitchesTheMethodAndBack) {
    const std::string file = path("good.txt"), alberta = path("alberta.txt");
    ASSERT_EQ(RunCli({"recompute", file, "--method", "S"}).exitCode, 0);
    const std::string smalian = ReadBytes(file);
    ASSERT_EQ(RunCli({"recompute", file, "--method", "A", "-o", alberta}).exitCode, 0);
    EXPECT_EQ(ReadBytes(file), smalian) << "-o leaves the file alone";
    const std::string albertaBytes = ReadBytes(alberta);
    ASSERT_EQ(albertaBytes.size(), smalian.size());
    EXPECT_EQ(albertaBytes[albertaBytes.size() - 201 + 167], 'A');
    EXPECT_NE(albertaBytes.substr(0, 52), smalian.substr(0, 52)) << "the gross volume changes";
    ASSERT_EQ(RunCli({"recompute", alberta, "--method", "S"}).exitCode, 0);
    EXPECT_EQ(ReadBytes(alberta), smalian);
    EXPECT_EQ(RunCli({"recompute", path("missing.txt")}).exitCode, 2);
}

// Posts loads 1..n (first..first+n-1) each with its own logs.
std::vector<std::string> LoadFiles(const fs::path& dir, int first, int count) {
    std::vector<std::string> files;
    for (int n = first; n < first + count; ++n) {
        LoadData load = TypicalLoad(n);
        for (int i = 0; i <= n % 3; ++i)
            load.logs.push_back(
                SampleLog(i == 2 ? "P" : "S", 20 + 2 * i, 40 + 2 * (n % 10), 30, 200 + n, i));
        files.push_back(WriteLoad(dir / ("load" + std::to_string(n) + ".txt"), load));
    }
    return files;
}

std::vector<std::string> Args(std::vector<std::string> head, const std::vector<std::string>& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

// The LOAD_NUM column of an exported CSV file, after its header row.
std::multiset<std::string> LoadNumbers(const std::string& csv) {
    static const std::regex tenthColumn("^(?:[^,]*,){9}([^,]*)");
    const std::vector<std::string> rows = Lines(csv);
    std::multiset<std::string> numbers;
    std::smatch match;
    for (std::size_t r = 1; r < rows.size(); ++r)
        if (std::regex_search(rows[r], match, tenthColumn))
            numbers.insert(match[1]);
    return numbers;
}

std::multiset<std::string> Numbers(int first, int count) {
    std::multiset<std::string> numbers;
    for (int n = first; n < first + count; ++n)
        numbers.insert(std::to_string(n));
    return numbers;
}

// Two processes post a hundred loads each at once into a folder in use; the
// export then holds all of them and equals the program's own.
TEST_F(CliFiles, PostsOfTwoProcessesAtOnceLoseNothingAndExportAsTheProgramDoes) {
    const fs::path data = temp / "data", cli = temp / "cli", program = temp / "program";
    for (const fs::path& dir : {data, cli, program})
        fs::create_directories(dir);
    const std::vector<std::string> a = LoadFiles(temp.path(), 1, 100);
    const std::vector<std::string> b = LoadFiles(temp.path(), 101, 100);
    // The folder in use already, as the program leaves it.
    ASSERT_EQ(RunCli({"master", "stats", "--data-dir", data.string()}).exitCode, 0);
    CliProcess first(Args({"post", "--data-dir", data.string()}, a));
    CliProcess second(Args({"post", "--data-dir", data.string()}, b));
    const CliResult postedA = first.finish(), postedB = second.finish();
    ASSERT_EQ(postedA.exitCode, 0) << postedA.err;
    ASSERT_EQ(postedB.exitCode, 0) << postedB.err;
    EXPECT_EQ(Lines(postedA.out).size(), 100u);
    EXPECT_EQ(Lines(postedB.out).back(), b.back() + ": added AB:1:200");
    EXPECT_EQ(Lines(RunCli({"post", a[6], "--data-dir", data.string()}).out),
              std::vector<std::string>{a[6] + ": replaced AB:1:7 (duplicate)"});

    const CliResult exported =
        RunCli({"export", "--data-dir", data.string(), "--csv", (cli / "m.csv").string(), "--ascii",
                (cli / "m.out").string(), "--dbase", cli.string()});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    const std::string csv = ReadBytes(cli / "m.csv");
    EXPECT_EQ(csv.substr(0, 32), "MILLCODE,POP,MILL_NUM,SAWLOGS,LE");
    EXPECT_EQ(LoadNumbers(csv), Numbers(1, 200));

    Dataset master(ParadoxStore::open((data / "master.db").string()));
    MasterTable table(master);
    CMaster record;
    testing::SilentPrompt prompt;
    ASSERT_TRUE(ExportMasterFiles((program / "m.out").string(), record, table, "N", prompt));
    for (const char* name : {"m.out", "SAMPLWT.dbf", "SAMPLVOL.dbf"})
        EXPECT_EQ(ReadBytes(cli / name), ReadBytes(program / name)) << name;
}

// The same loads posted to a master on a server and to master.db export
// the same files; a post while the server is down waits in the outbox and
// goes first with the next one.
TEST_F(CliFiles, MasterOnAServerExportsAsMasterDbAndKeepsPostsWhileItIsDown) {
    PostgresServer server;
    const std::string uri = server.createDatabase("cli");
    const fs::path house = temp / "house", local = temp / "local";
    const fs::path fromServer = temp / "server", fromFile = temp / "file";
    for (const fs::path& dir : {house, local, fromServer, fromFile})
        fs::create_directories(dir);
    const std::vector<std::string> files = LoadFiles(temp.path(), 1, 20);
    const CliResult posted =
        RunCli(Args({"post", "--data-dir", house.string(), "--master", uri}, files));
    ASSERT_EQ(posted.exitCode, 0) << posted.err;
    EXPECT_EQ(Lines(posted.out).back(), files.back() + ": posted AB:1:20");
    ASSERT_EQ(RunCli(Args({"post", "--data-dir", local.string()}, files)).exitCode, 0);

    const auto exportTo = [](const fs::path& dir, std::vector<std::string> from) {
        return RunCli(Args(std::move(from),
                           {"--ascii", (dir / "m.out").string(), "--dbase", dir.string(), "--csv",
                            (dir / "m.csv").string(), "--paradox", (dir / "copy.db").string()}));
    };
    ASSERT_EQ(
        exportTo(fromServer, {"export", "--data-dir", house.string(), "--master", uri}).exitCode,
        0);
    ASSERT_EQ(exportTo(fromFile, {"export", "--data-dir", local.string()}).exitCode, 0);
    // A Paradox header carries the second it was written (bytes 0x60 to 0x63):
    // the two exports may fall in different seconds.
    const auto written = [](const fs::path& file) {
        std::string bytes = ReadBytes(file);
        if (file.extension() == ".db" && bytes.size() >= 0x64)
            bytes.replace(0x60, 4, 4, '\0');
        return bytes;
    };
    for (const char* name : {"m.out", "SAMPLWT.dbf", "SAMPLVOL.dbf", "m.csv", "copy.db"})
        EXPECT_TRUE(written(fromServer / name) == written(fromFile / name)) << name;

    server.stop();
    EXPECT_EQ(Lines(RunCli({"post", files[0], "--data-dir", house.string(), "--master", uri}).out),
              std::vector<std::string>{
                  files[0] + ": kept AB:1:1 in the outbox (the server cannot be reached)"});
    server.start();
    const std::vector<std::string> more = LoadFiles(temp.path(), 21, 1);
    ::setenv("BRIMLO_MASTER", uri.c_str(), 1);
    const CliResult next = RunCli({"post", more[0], "--data-dir", house.string()});
    const std::string csv = (temp / "after.csv").string();
    const CliResult after = RunCli({"export", "--data-dir", house.string(), "--csv", csv});
    ::unsetenv("BRIMLO_MASTER");
    EXPECT_EQ(Lines(next.out), std::vector<std::string>{more[0] + ": posted AB:1:21"});
    ASSERT_EQ(after.exitCode, 0) << after.err;
    EXPECT_EQ(LoadNumbers(ReadBytes(csv)), Numbers(1, 21));
}

struct ReportCase {
    const char* name;
    std::vector<std::string> args; // "{load}" is a load file
    std::function<void(const std::string& pdf, const LoadData& load, Dataset& master, CMaster& m)>
        program;
};

const ReportCase kReportCases[] = {
    {"Listing",
     {"listing", "{load}"},
     [](auto& pdf, auto& load, auto&, auto& m) { SaveLoadLogReportPdf(pdf, load, m); }},
    {"Summary",
     {"summary", "{load}"},
     [](auto& pdf, auto& load, auto&, auto& m) { SaveLoadSummaryPdf(pdf, load, m); }},
    {"MasterFull",
     {"master-full"},
     [](auto& pdf, auto&, auto& master, auto&) { SaveMasterFullPdf(pdf, master, false); }},
    {"MasterFullCurrent",
     {"master-full", "--current", "AB:1:2"},
     [](auto& pdf, auto&, auto& master, auto&) {
         MasterTable table(master);
         ASSERT_TRUE(CMaster::LocateMaster(table, "AB", 2, 1));
         SaveMasterFullPdf(pdf, master, true);
     }},
    {"MasterSummary", {"master-summary"}, [](auto& pdf, auto&, auto& master, auto&) {
         SaveMasterSummaryPdf(pdf, master);
     }}};

class ReportTest : public CliFiles, public ::testing::WithParamInterface<ReportCase> {};

TEST_P(ReportTest, DrawsThePdfAsTheProgramDoes) {
    const ReportCase& c = GetParam();
    const fs::path data = temp / "data";
    fs::create_directories(data);
    const std::vector<std::string> files = LoadFiles(temp.path(), 1, 3);
    ASSERT_EQ(RunCli(Args({"post", "--data-dir", data.string()}, files)).exitCode, 0);
    std::vector<std::string> args = {"report"};
    for (const std::string& arg : c.args)
        args.push_back(arg == "{load}" ? files[2] : arg);
    const std::string cliPdf = (temp / "cli.pdf").string();
    const CliResult result = RunCli(Args(args, {"-o", cliPdf, "--data-dir", data.string()}));
    ASSERT_EQ(result.exitCode, 0) << result.err;

    Dataset master(ParadoxStore::open((data / "master.db").string()));
    testing::ScriptedPrompt prompt;
    const LoadFileReadResult read = ReadLoadFile(files[2], prompt);
    ASSERT_TRUE(read.read);
    const std::string programPdf = (temp / "program.pdf").string();
    CMaster m;
    c.program(programPdf, read.load, master, m);

    ExpectSamePdf(cliPdf, programPdf);
}

INSTANTIATE_TEST_SUITE_P(, ReportTest, ::testing::ValuesIn(kReportCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct CheckScaleCli : ::testing::Test {
    TempDir temp;
    std::string original = WriteLoad(temp / "original.txt", CheckScaleBaseLoad());
    std::string check = WriteLoad(temp / "check.txt", CheckScaleWiderTop());
};

TEST_F(CheckScaleCli, JsonFiguresVerdictAndThePdfOfTheProgram) {
    const std::string pdf = (temp / "cli.pdf").string();
    const CliResult r =
        RunCli({"check-scale", original, check, "--json", "-o", pdf, "--gross-tol", "5"});
    // Log 1's top 20 against 22: -3.76 % gross (within 5 %), -3.90 % net.
    ASSERT_EQ(r.exitCode, 1) << r.err;
    const std::pair<const char*, double> numbers[] = {
        {"load/gross/original", 0.429},    {"load/gross/check", 0.445},
        {"load/gross/difference", -0.016}, {"tolerances/grossPercent", 5.0},
        {"tolerances/netPercent", 2.0},    {"logs/0/log", 1}};
    for (const auto& [path, want] : numbers)
        EXPECT_EQ(JsonAt(r.out, path).toDouble(), want) << path;
    EXPECT_NEAR(JsonAt(r.out, "load/gross/percent").toDouble(), -1600.0 / 445, 1e-9);
    EXPECT_EQ(JsonAt(r.out, "load/verdict").toString(), QStringLiteral("outside net"));
    EXPECT_EQ(JsonAt(r.out, "logs/0/fields/0/field").toString(), QStringLiteral("TOPD"));
    EXPECT_EQ(JsonAt(r.out, "logs/0/fields/0/check").toString(), QStringLiteral("22"));

    // The PDF is the program's report of the same comparison.
    CheckScaleTolerances tolerances;
    tolerances.grossPercent = 5;
    const std::string programPdf = (temp / "program.pdf").string();
    SaveCheckScaleReportPdf(programPdf, CompareCheckScaleFiles(original, check, tolerances));
    ExpectSamePdf(pdf, programPdf);
}

// 0 within the tolerances, 1 outside, 2 a file unreadable, 64 a mistake
// on the command line; with what the output holds.
TEST_F(CheckScaleCli, ExitStatusTellsWithinOutsideAndMistakes) {
    const struct {
        std::vector<std::string> args;
        int exitCode;
        std::string out, err;
    } cases[] = {
        {{"check-scale", original, original}, 0, "", ""},
        {{"check-scale", original, check}, 1, "Verdict: outside gross and net", ""},
        {{"check-scale", original, check, "--defect-factor", "0.2"}, 64, "", ""},
        {{"check-scale", original, check, "--net-tol", "-1"}, 64, "", ""},
        {{"check-scale", original, (temp / "none.txt").string()}, 2, "", "none.txt"},
        {{"frobnicate"}, 64, "", ""},
        {{"check"}, 64, "", ""},
        {{"show", "a.txt", "--bogus"}, 64, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.back());
        const CliResult r = RunCli(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_NE(r.out.find(c.out), std::string::npos) << r.out;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
    }
}

} // namespace
} // namespace brimlo::testing
