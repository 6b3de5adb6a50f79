// The keying process the crash driver kills: the real main window and
// load window, offscreen, keying logs, saving the load (which posts it to
// the master table) and exporting the master files, round after round,
// until it is killed. It says what it finished, and what it began, in its
// acknowledgement file.
//
// brimlo_crash_child <data dir> <load file> <export file> <ack file> <run> <seed>
#include "AckLog.h"
#include "ScriptedWindows.h"
#include "load/LoadDocument.h"
#include "load/LoadFileWriter.h"
#include "master/MainTables.h"
#include "rules/Cglobals.h"
#include "shell/BrimloApplication.h"
#include "shell/TfrmDataEntry.h"
#include "shell/TfrmMain.h"
#include "support/Dataset.h"
#include "support/JournaledFile.h"
#include "support/Prompt.h"

#include <QAction>
#include <QTest>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>

namespace brimlo::crash {
namespace {

// Answers every box as closing it would and writes it down; the driver
// decides which boxes were allowed.
class LoggingPrompt : public Prompt {
public:
    explicit LoggingPrompt(AckLog& ack) : ack_(ack) {}
    PromptAnswer show(const std::string& text, const std::string&, PromptIcon,
                      PromptButtons buttons) override {
        ack_.say("BOX " + text);
        return Prompt::dismissedAnswer(buttons);
    }

private:
    AckLog& ack_;
};

struct Arguments {
    std::string dataDir, loadFile, exportFile, ackFile;
    int run = 0;
    unsigned seed = 0;
};

class KeyingRun {
public:
    KeyingRun(const Arguments& args, AckLog& ack, TfrmMain& main)
        : args_(args), ack_(ack), main_(main), random_(args.seed) {}

    void run() {
        const int loadNumber = 1000 + args_.run;
        SetDefaultLoadNumber(main_, loadNumber);
        main_.action("mnuNewLoad")->trigger();
        window_ = ActiveLoadWindow(main_);
        if (!window_)
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
    int pick(int low, int high) { return low + static_cast<int>(random_() % (high - low + 1)); }

    void keyLogs(int count) {
        for (int i = 0; i < count; ++i) {
            // diameters and lengths go in steps of two
            const int butt = 2 * pick(15, 29), top = 2 * pick(10, 14), length = 2 * pick(15, 29);
            KeyLog(*window_, butt, top, length);
            const int before = window_->document().log().recordCount();
            KeyAppend(*window_);
            if (window_->document().log().recordCount() != before + 1)
                fail("the log was not appended");
            ++keyed_;
            ack_.say("LOG " + std::to_string(keyed_) + " " + std::to_string(butt) + " " +
                     std::to_string(top) + " " + std::to_string(length));
        }
    }

    // The bytes the save is about to write go to a side file first, so the
    // driver can tell a whole new version from a whole old one.
    void save(int round) {
        LoadDocument& doc = window_->document();
        doc.PostPendingEdits();
        const std::string expected = args_.ackFile + ".load-" + std::to_string(round);
        WriteSynced(expected, FormatLoadFile(doc.BuildLoadData()));
        ack_.say("SAVING " + std::to_string(round) + " " + expected);
        main_.action("mnuSave")->trigger();
        std::string written, wanted;
        ReadWhole(expected, wanted);
        if (!ReadWhole(args_.loadFile, written) || written != wanted)
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

    const Arguments& args_;
    AckLog& ack_;
    TfrmMain& main_;
    std::mt19937 random_;
    TfrmDataEntry* window_ = nullptr;
    int keyed_ = 0;
};

int Run(int argc, char** argv) {
    if (argc != 7)
        return 64;
    Arguments args{argv[1],
                   argv[2],
                   argv[3],
                   argv[4],
                   std::atoi(argv[5]),
                   static_cast<unsigned>(std::strtoul(argv[6], nullptr, 10))};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int appArgc = 1;
    AckLog ack(args.ackFile);
    LoggingPrompt prompt(ack);
    BrimloApplication app(appArgc, argv, prompt);
    // A short pause inside each page write of master.db makes the kill
    // land inside a post more often.
    JournaledFile::setPageWriteHookForTests([] { ::usleep(200); });
    DialogAnswers answers{[&] { return args.loadFile; }, [&] { return args.exportFile; }};
    MainWindowHooks hooks = ScriptedWindowHooks(answers);
    hooks.settings.setAppDataDirectory(args.dataDir);
    hooks.prompt = &prompt;
    std::unique_ptr<TfrmMain> main;
    try {
        main = std::make_unique<TfrmMain>(std::move(hooks));
    } catch (const std::exception& e) {
        ack.say(std::string("FAIL start: ") + e.what());
        return 2;
    }
    ShowActive(*main);
    ack.say("READY");
    KeyingRun(args, ack, *main).run();
    return 0;
}

} // namespace
} // namespace brimlo::crash

int main(int argc, char** argv) {
    return brimlo::crash::Run(argc, argv);
}
