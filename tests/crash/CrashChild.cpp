// The keying process the crash driver kills: the real main window and
// load window, offscreen, keying logs, saving the load (which posts it to
// the master table) and exporting the master files, round after round,
// until it is killed. It says what it finished, and what it began, in its
// acknowledgement file, and writes down every box it is shown there.
//
// brimlo_crash_child <data dir> <load file> <export file> <ack file> <run> <seed>
#include "AckLog.h"
#include "ScriptedWindows.h"
#include "load/LoadDocument.h"
#include "load/LoadFileWriter.h"
#include "master/MainTables.h"
#include "shell/BrimloApplication.h"
#include "shell/TfrmDataEntry.h"
#include "shell/TfrmMain.h"
#include "support/Dataset.h"
#include "support/JournaledFile.h"

#include <QAction>
#include <QTest>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>

namespace brimlo::crash {
namespace {

class KeyingRun {
public:
    KeyingRun(char** argv, AckLog& ack, TfrmMain& main)
        : loadFile_(argv[2]), ackFile_(argv[4]), ack_(ack), main_(main),
          random_(static_cast<unsigned>(std::strtoul(argv[6], nullptr, 10))) {}

    // Each run keys a load of its own number, so it gets its own master record.
    void run(int loadNumber) {
        Dataset& defaults = main_.defaults();
        defaults.first();
        defaults.edit();
        defaults.setField("LOAD_NUM", Value(int32_t{loadNumber}));
        defaults.post();
        main_.action("mnuNewLoad")->trigger();
        if (!(window_ = ActiveLoadWindow(main_)))
            fail("no load window");
        ack_.say("NEWLOAD " + std::to_string(loadNumber));
        QTest::keyClick(window_->focusedControl(), Qt::Key_F6);
        for (int round = 1;; ++round) {
            keyLogs(1 + static_cast<int>(random_() % 4));
            save(round);
            if (round % 3 == 0)
                exportMaster(round);
        }
    }

private:
    // Twice a number from low to high: diameters and lengths go in steps of two.
    int pickEven(int low, int high) {
        return 2 * (low + static_cast<int>(random_() % (high - low + 1)));
    }

    void keyLogs(int count) {
        for (int i = 0; i < count; ++i) {
            const int butt = pickEven(15, 29), top = pickEven(10, 14), length = pickEven(15, 29);
            const int before = window_->document().log().recordCount();
            KeyLogAndAppend(*window_, butt, top, length);
            if (window_->document().log().recordCount() != before + 1)
                fail("the log was not appended");
            ack_.say("LOG " + std::to_string(++keyed_) + " " + std::to_string(butt) + " " +
                     std::to_string(top) + " " + std::to_string(length));
        }
    }

    // The bytes the save is about to write go to a side file first, so the
    // driver can tell a whole new version from a whole old one.
    void save(int round) {
        LoadDocument& doc = window_->document();
        doc.PostPendingEdits();
        const std::string expected = ackFile_ + ".load-" + std::to_string(round);
        const std::string wanted = FormatLoadFile(doc.BuildLoadData());
        WriteSynced(expected, wanted);
        ack_.say("SAVING " + std::to_string(round) + " " + expected);
        main_.action("mnuSave")->trigger();
        if (ReadWhole(loadFile_) != wanted)
            fail("the save did not write the load file");
        ack_.say("SAVED " + std::to_string(round));
    }

    void exportMaster(int round) {
        ack_.say("EXPORTING " + std::to_string(round) + " " +
                 std::to_string(main_.tables().master().recordCount()));
        main_.action("mnuMasterASCII")->trigger();
        ack_.say("EXPORTED " + std::to_string(round));
    }

    [[noreturn]] void fail(const std::string& why) {
        ack_.say("FAIL " + why);
        std::_Exit(2);
    }

    const std::string loadFile_, ackFile_;
    AckLog& ack_;
    TfrmMain& main_;
    std::mt19937 random_;
    TfrmDataEntry* window_ = nullptr;
    int keyed_ = 0;
};

int Run(int argc, char** argv) {
    if (argc != 7)
        return 64;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int appArgc = 1;
    AckLog ack(argv[4]);
    BrimloApplication app(appArgc, argv, ack);
    // A short pause inside each page write of master.db makes the kill
    // land inside a post more often.
    JournaledFile::setPageWriteHookForTests([] { ::usleep(200); });
    const std::string loadFile = argv[2], exportFile = argv[3];
    std::unique_ptr<TfrmMain> main;
    try {
        main =
            StartScriptedMain(argv[1], {[&] { return loadFile; }, [&] { return exportFile; }}, ack);
    } catch (const std::exception& e) {
        ack.say(std::string("FAIL start: ") + e.what());
        return 2;
    }
    ack.say("READY");
    KeyingRun(argv, ack, *main).run(1000 + std::atoi(argv[5]));
    return 0;
}

} // namespace
} // namespace brimlo::crash

int main(int argc, char** argv) {
    return brimlo::crash::Run(argc, argv);
}
