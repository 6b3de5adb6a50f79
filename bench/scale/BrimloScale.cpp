// One operation of the scale table on a master.db of some size, timed inside
// the process and printed as "name milliseconds" lines; bench/scale.py runs
// each in its own process and reads its peak memory from outside.
//
//   brimlo_scale make DIR RECORDS       write DIR/master.db
//   brimlo_scale open DIR               open the master as the main window does
//   brimlo_scale post DIR [REFDIR]      locate + post of an existing load, no
//                                       flush (in turn with posts to the
//                                       master in REFDIR) and durable, and
//                                       one 16 KB write + fdatasync on the
//                                       same disk
//   brimlo_scale export DIR             the master ASCII file and sample tables
//   brimlo_scale summary DIR            master summary: first page in the
//                                       preview, then the whole report as PDF
#include "PlainWrites.h"
#include "SampleTimes.h"
#include "ScaleMaster.h"
#include "master/CMaster.h"
#include "master/MasterTable.h"
#include "master/SampleTables.h"
#include "reports/MasterSummaryReport.h"
#include "reports/ReportPageView.h"
#include "reports/ReportPreview.h"
#include "support/Dataset.h"
#include "support/JournaledFile.h"
#include "support/ParadoxStore.h"

#include <QApplication>
#include <QPrinter>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace brimlo;
using Clock = std::chrono::steady_clock;

double Millis(const std::function<void()>& work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void Print(const char* name, double millis) {
    std::printf("%s %.3f\n", name, millis);
}

std::unique_ptr<Dataset> OpenMaster(const std::string& dir) {
    return std::make_unique<Dataset>(ParadoxStore::open(dir + "/master.db"));
}

double ThreadCpuMillis() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Posts of existing loads spread over one master, timed one by one.
struct PostTimes {
    MasterTable& table;
    int records;
    std::vector<double> wall;
    std::vector<double> cpu;

    void post(int i) {
        const CMaster m = bench::ScaleMasterRecord(((records / 15) * i + 7) % records);
        const double cpuStart = ThreadCpuMillis();
        wall.push_back(Millis([&] { m.PostToMaster(table); }));
        cpu.push_back(ThreadCpuMillis() - cpuStart);
    }
};

// Medians of 15 posts to the master, and as many to the reference master
// (when there is one) taken in turn with them: a post waits mostly on the
// file system (the journal's truncation waits for the file system's own
// journal), which other writers on the disk slow down, so the two masters
// are compared under the same conditions.
void PrintPosts(MasterTable& table, MasterTable* reference, bool flush, const std::string& name) {
    JournaledFile::setFlushing(flush);
    PostTimes times{table, table.recordCount(), {}, {}};
    PostTimes other{
        reference ? *reference : table, reference ? reference->recordCount() : 0, {}, {}};
    for (int i = 0; i < 15; ++i) {
        times.post(i);
        if (reference)
            other.post(i);
    }
    JournaledFile::setFlushing(true);
    Print((name + "_ms").c_str(), bench::Percentile(times.wall, 0.5));
    Print((name + "_cpu_ms").c_str(), bench::Percentile(times.cpu, 0.5));
    if (!reference)
        return;
    Print(("reference_" + name + "_ms").c_str(), bench::Percentile(other.wall, 0.5));
    Print(("reference_" + name + "_cpu_ms").c_str(), bench::Percentile(other.cpu, 0.5));
}

int Post(const std::string& dir, const std::string& referenceDir) {
    std::unique_ptr<Dataset> master;
    Print("open_ms", Millis([&] { master = OpenMaster(dir); }));
    MasterTable table(*master);
    std::unique_ptr<Dataset> referenceMaster;
    std::unique_ptr<MasterTable> reference;
    if (!referenceDir.empty()) {
        referenceMaster = OpenMaster(referenceDir);
        reference = std::make_unique<MasterTable>(*referenceMaster);
    }
    // the first locate on a master reads its key fields whole, once
    CMaster::LocateMaster(table, "AB", 1, 1);
    if (reference)
        CMaster::LocateMaster(*reference, "AB", 1, 1);
    PrintPosts(table, reference.get(), false, "post");
    PrintPosts(table, nullptr, true, "durable_post");
    Print("fdatasync16k_ms", bench::WriteAndSyncMicros(dir, 16384, 15) / 1000.0);
    return 0;
}

int Export(const std::string& dir) {
    auto master = OpenMaster(dir);
    MasterTable table(*master);
    CMaster m;
    Print("export_ms", Millis([&] {
              m.WriteMasterAscii(dir + "/master.out", table, "Y");
              WriteSampleTables(dir + "/", table, Date::fromYmd(2026, 12, 9));
          }));
    return 0;
}

int Summary(const std::string& dir) {
    auto master = OpenMaster(dir);
    // From the command to the preview on the screen with its first page
    // painted: the report laid out, the preview built, shown and drawn.
    Print("summary_first_page_ms", Millis([&] {
              TfrmMasterSummary form;
              form.Prepare(*master);
              QPrinter printer(QPrinter::HighResolution);
              auto preview = MakeReportPreview(nullptr, form.report(), printer);
              preview->show();
              preview->pages().viewport()->repaint();
              if (preview->pages().paintedPages() == 0)
                  std::fputs("the preview painted no page\n", stderr);
          }));
    Print("summary_pdf_ms", Millis([&] { SaveMasterSummaryPdf(dir + "/summary.pdf", *master); }));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: brimlo_scale make|open|post|export|summary DIR [RECORDS|REFDIR]\n");
        return 2;
    }
    const std::string command = argv[1];
    const std::string dir = argv[2];
    if (command == "make" && argc == 4) {
        bench::WriteScaleMaster(dir + "/master.db", std::atoi(argv[3]));
        return 0;
    }
    if (command == "open") {
        std::unique_ptr<Dataset> master;
        Print("open_ms", Millis([&] { master = OpenMaster(dir); }));
        return 0;
    }
    if (command == "post")
        return Post(dir, argc == 4 ? argv[3] : "");
    if (command == "export")
        return Export(dir);
    if (command == "summary") {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        return Summary(dir);
    }
    std::fprintf(stderr, "unknown command %s\n", command.c_str());
    return 2;
}
