#include "shell/ExportHooks.h"

#include "MainWindowTestSupport.h"
#include "common/FileBytes.h"
#include "common/ScriptedPrompt.h"
#include "master/MainTables.h"
#include "support/Dataset.h"

#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

using namespace brimlo;
using namespace brimlo::testing;

namespace {

class ExportHooks : public ::testing::Test {
protected:
    void SetUp() override {
        outDir = fixture.temp.path() / "out";
        std::filesystem::create_directories(outDir);
        MainWindowHooks hooks;
        AddExportHooks(hooks, [this](QWidget* parent, const std::string& start) {
            ++choices;
            startDirectory = start;
            owner = parent;
            return answer;
        });
        window = fixture.make(hooks);
    }

    void addMasterRecord(const char* sawlogs) {
        AddMasterRecord(window->tables().master(), 123, {{"SAWLOGS", Value(sawlogs)}});
    }

    void setDefaults(const char* field, const char* value) {
        Dataset& defaults = window->tables().defaults();
        defaults.edit();
        defaults.setField(field, Value(value));
        defaults.post();
    }

    std::string successText() const {
        const std::string d = outDir.string() + "/";
        return "Files:\n" + d + "export.out\n" + d + "SAMPLWT.dbf\n" + d + "SAMPLVOL.dbf\n" +
               "were generated successfully.";
    }

    MainWindowFixture fixture;
    std::filesystem::path outDir;
    std::unique_ptr<TfrmMain> window;
    std::string answer;
    int choices = 0;
    std::string startDirectory = "<not asked>";
    QWidget* owner = nullptr;
};

TEST_F(ExportHooks, WritesTheAsciiFileAndBothSampleTablesThenTellsSuccessEachTime) {
    addMasterRecord("Y");
    answer = (outDir / "export.out").string();
    ScriptedPrompt prompt;
    prompt.expect(successText());
    window->mnuMasterASCIIClick();
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.shown()[0].caption, "Success");
    EXPECT_EQ(prompt.shown()[0].icon, PromptIcon::Information);
    EXPECT_EQ(owner, window.get());
    // One record without groups: one line of 223 characters and CR LF.
    const std::string bytes = ReadBytes(outDir / "export.out");
    ASSERT_EQ(bytes.size(), 225u);
    EXPECT_EQ(bytes.substr(0, 12), "M     0AB  1");
    EXPECT_EQ(bytes.substr(222), "Y\r\n");
    EXPECT_TRUE(std::filesystem::exists(outDir / "SAMPLWT.dbf"));
    EXPECT_TRUE(std::filesystem::exists(outDir / "SAMPLVOL.dbf"));

    // A record without sawlogs takes the defaults' value.
    setDefaults("SAWLOGS", "N");
    Dataset& master = window->tables().master();
    master.edit();
    master.setField("SAWLOGS", Value(""));
    master.post();
    prompt.expect(successText());
    window->mnuMasterASCIIClick();
    EXPECT_EQ(ReadBytes(outDir / "export.out").substr(222), "N\r\n");
}

// Cancelling the dialog, started in the data directory, writes nothing.
TEST_F(ExportHooks, TheDialogStartsInTheDataDirectoryAndCancelWritesNothing) {
    addMasterRecord("Y");
    setDefaults("DEFAULT_DATA_PATH", "/data/loads/");
    ScriptedPrompt prompt; // any box would fail the test
    window->mnuMasterASCIIClick();
    EXPECT_EQ(choices, 1);
    EXPECT_EQ(startDirectory, "/data/loads/");
    EXPECT_TRUE(prompt.shown().empty());
    EXPECT_TRUE(std::filesystem::is_empty(outDir));
}

TEST_F(ExportHooks, ASampleTableThatCannotBeWrittenGoesToTheErrorBox) {
    addMasterRecord("Y");
    std::filesystem::create_directory(outDir / "SAMPLVOL.dbf");
    answer = (outDir / "export.out").string();
    ScriptedPrompt prompt; // the error box, never the success message
    prompt.expect("File '" + (outDir / "SAMPLVOL.dbf").string() +
                  "' cannot be written: Is a directory.");
    window->mnuMasterASCIIClick();
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.shown()[0].caption, "BRIMLO");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// The save dialog itself, answered by a timer once it is up.
TEST(MasterAsciiDialog, AsksForAnOutFileInTheStartDirectory) {
    TempDir temp;
    const QString start = QString::fromStdString(temp.path().string());
    QString title;
    QStringList filters;
    QString suffix;
    QString directory;
    std::function<void()> answer = [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            QTimer::singleShot(10, answer);
            return;
        }
        title = dialog->windowTitle();
        filters = dialog->nameFilters();
        suffix = dialog->defaultSuffix();
        directory = dialog->directory().absolutePath();
        dialog->selectFile(start + QStringLiteral("/export"));
        static_cast<QDialog*>(dialog)->accept();
    };
    QTimer::singleShot(0, answer);
    const std::string chosen = AskMasterAsciiFile(nullptr, temp.path().string());
    EXPECT_EQ(title, QStringLiteral("Save Master ASCII File"));
    EXPECT_EQ(filters, QStringList{QStringLiteral("Text file (*.out)")});
    EXPECT_EQ(suffix, QStringLiteral("out"));
    EXPECT_EQ(directory, start);
    EXPECT_EQ(chosen, temp.path().string() + "/export.out");
}

} // namespace
