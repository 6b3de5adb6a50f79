// One operation of the scale table on a master.db of some size, timed inside
// the process and printed as "name milliseconds" lines; bench/scale.py runs
// each in its own process and reads its peak memory from outside.
//
//   brimlo_scale make DIR RECORDS       write DIR/master.db
//   brimlo_scale open DIR               open the master as the main window does
//   brimlo_scale post DIR REFDIR        locate + post of an existing load:
//                                       without the flush, in turn with
//                                       posts to the master in REFDIR; and
//                                       durable, in turn with one 16 KB
//                                       write + fdatasync on the same disk
//   brimlo_scale export DIR             the master ASCII file and sample tables
//   brimlo_scale summary DIR            master summary: first page in the
//                                       preview, then the whole report as PDF
#include "SampleTimes.h"
#include "ScaleMaster.h"
#include "common/SilentPrompt.h"
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
#include <fcntl.h>
#include <functional>
#include <memory>
#include <string>
#include <unistd.h>
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

// The master of a folder; table, when given, is pointed at its file.
std::unique_ptr<Dataset> OpenMaster(const std::string& dir, ParadoxTable** table = nullptr) {
    auto store = ParadoxStore::open(dir + "/master.db");
    if (table)
        *table = &store->table();
    return std::make_unique<Dataset>(std::move(store));
}

double ThreadCpuMillis() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Wall and processor times of runs of some work.
struct Times {
    std::vector<double> wall;
    std::vector<double> cpu;

    void measure(const std::function<void()>& work) {
        const double cpuStart = ThreadCpuMillis();
        wall.push_back(Millis(work));
        cpu.push_back(ThreadCpuMillis() - cpuStart);
    }
    void print(const std::string& name, bool withCpu = true) const {
        Print((name + "_ms").c_str(), bench::Percentile(wall, 0.5));
        if (withCpu)
            Print((name + "_cpu_ms").c_str(), bench::Percentile(cpu, 0.5));
    }
};

// One 16 KB write + fdatasync as the other benchmarks take it: the file
// rewritten (truncated, written, flushed), as a program saving a small file
// in place does.
void RewriteAndSync(const std::string& path, const std::vector<char>& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
        ::fdatasync(fd) != 0)
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
    if (fd >= 0)
        ::close(fd);
}

// The post of an existing load; 15 of them spread over the master.
void PostOne(MasterTable& table, int i) {
    const int records = table.recordCount();
    bench::ScaleMasterRecord(((records / 15) * i + 7) % records).PostToMaster(table);
}

// Posts without the flush, in turn with posts to a reference master of
// another size (REFDIR); durable posts, in turn with one 16 KB write +
// fdatasync on the same disk.
int Post(const std::string& dir, const std::string& referenceDir) {
    std::unique_ptr<Dataset> master;
    ParadoxTable* file = nullptr;
    ParadoxTable* referenceFile = nullptr;
    Print("open_ms", Millis([&] { master = OpenMaster(dir, &file); }));
    MasterTable table(*master);
    auto referenceMaster = OpenMaster(referenceDir, &referenceFile);
    MasterTable reference(*referenceMaster);
    // the first locate on a master reads its key fields whole, once
    CMaster::LocateMaster(table, "AB", 1, 1);
    CMaster::LocateMaster(reference, "AB", 1, 1);
    // Medians of 15 of each, taken in turn: a post waits mostly on the
    // disk, whose speed changes from one second to the next on a machine
    // shared with other writers, so what is compared runs under the same
    // conditions.
    Times post, referencePost, durable, plain;
    const std::vector<char> block(16384, 'x');
    file->setShortcuts({.flush = false});
    referenceFile->setShortcuts({.flush = false});
    for (int i = 0; i < 15; ++i) {
        post.measure([&] { PostOne(table, i); });
        referencePost.measure([&] { PostOne(reference, i); });
    }
    file->setShortcuts({});
    for (int i = 0; i < 15; ++i) {
        durable.measure([&] { PostOne(table, i); });
        plain.measure([&] { RewriteAndSync(dir + "/plain-block", block); });
    }
    ::unlink((dir + "/plain-block").c_str());
    post.print("post");
    referencePost.print("reference_post");
    durable.print("durable_post");
    plain.print("fdatasync16k", false);
    return 0;
}

int Export(const std::string& dir) {
    auto master = OpenMaster(dir);
    MasterTable table(*master);
    CMaster m;
    testing::SilentPrompt prompt;
    Print("export_ms", Millis([&] {
              m.WriteMasterAscii(dir + "/master.out", table, "Y", prompt);
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
              testing::SilentPrompt prompt;
              auto preview = MakeReportPreview(nullptr, form.report(), printer, prompt);
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
    if (command == "post" && argc == 4)
        return Post(dir, argv[3]);
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
