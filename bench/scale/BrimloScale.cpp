// One operation of the scale table on a master.db of some size, timed inside
// the process and printed as "name milliseconds" lines; bench/scale.py runs
// each in its own process and reads its peak memory from outside.
//
//   brimlo_scale make DIR RECORDS       write DIR/master.db
//   brimlo_scale open DIR               open the master as the main window does
//   brimlo_scale post DIR               locate + post of an existing load, no
//                                       flush and durable, and one 16 KB
//                                       write + fdatasync on the same disk
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

// The median of posts of existing loads spread over the table.
double PostMillis(MasterTable& table, int records, bool flush) {
    JournaledFile::setFlushing(flush);
    std::vector<double> times;
    for (int i = 0; i < 15; ++i) {
        const CMaster m = bench::ScaleMasterRecord(((records / 15) * i + 7) % records);
        times.push_back(Millis([&] { m.PostToMaster(table); }));
    }
    JournaledFile::setFlushing(true);
    return bench::Percentile(times, 0.5);
}

int Post(const std::string& dir) {
    std::unique_ptr<Dataset> master;
    Print("open_ms", Millis([&] { master = OpenMaster(dir); }));
    MasterTable table(*master);
    const int records = table.recordCount();
    Print("post_ms", PostMillis(table, records, false));
    Print("durable_post_ms", PostMillis(table, records, true));
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
        std::fprintf(stderr, "usage: brimlo_scale make|open|post|export|summary DIR [RECORDS]\n");
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
        return Post(dir);
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
