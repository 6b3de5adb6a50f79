#include "shell/ExportHooks.h"

#include "MainWindowTestSupport.h"
#include "common/FileBytes.h"

#include <QFileDialog>
#include <filesystem>
#include <fstream>

using namespace brimlo;
using namespace brimlo::testing;

namespace {

class ExportHooks : public MainWindowTest {
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
        AddMasterRecord(window->tables().master(), 123, {{"SAWLOGS", Value("Y")}});
    }

    std::string successText() const {
        const std::string d = outDir.string() + "/";
        return "Files:\n" + d + "export.out\n" + d + "SAMPLWT.dbf\n" + d + "SAMPLVOL.dbf\n" +
               "were generated successfully.";
    }

    std::filesystem::path outDir;
    std::string answer;
    int choices = 0;
    std::string startDirectory = "<not asked>";
    QWidget* owner = nullptr;
};

// The files themselves are the export's; here: the main window's master
// record, with the defaults' sawlogs when it has none, where chosen.
TEST_F(ExportHooks, WritesTheAsciiFileAndBothSampleTablesThenTellsSuccessEachTime) {
    answer = (outDir / "export.out").string();
    ScriptedPrompt prompt;
    prompt.expect(successText()).expect(successText());
    window->mnuMasterASCIIClick();
    EXPECT_EQ(owner, window.get());
    // One record without groups: one line of 223 characters and CR LF.
    const std::string bytes = ReadBytes(outDir / "export.out");
    ASSERT_EQ(bytes.size(), 225u);
    EXPECT_EQ(bytes.substr(0, 12), "M     0AB  1");
    EXPECT_EQ(bytes.substr(222), "Y\r\n");
    SetFields(window->tables().defaults(), {{"SAWLOGS", Value("N")}});
    SetFields(window->tables().master(), {{"SAWLOGS", Value("")}});
    window->mnuMasterASCIIClick();
    EXPECT_EQ(ReadBytes(outDir / "export.out").substr(222), "N\r\n");
}

TEST_F(ExportHooks, TheDialogStartsInTheDataDirectoryAndCancelWritesNothing) {
    SetFields(window->tables().defaults(), {{"DEFAULT_DATA_PATH", Value("/data/loads/")}});
    ScriptedPrompt prompt; // any box would fail the test
    window->mnuMasterASCIIClick();
    EXPECT_EQ(choices, 1);
    EXPECT_EQ(startDirectory, "/data/loads/");
    EXPECT_TRUE(std::filesystem::is_empty(outDir));
}

TEST_F(ExportHooks, ASampleTableThatCannotBeWrittenGoesToTheErrorBox) {
    std::filesystem::create_directory(outDir / "SAMPLVOL.dbf");
    answer = (outDir / "export.out").string();
    ScriptedPrompt prompt; // the error box, never the success message
    prompt.expect("File '" + (outDir / "SAMPLVOL.dbf").string() +
                  "' cannot be written: Is a directory.");
    window->mnuMasterASCIIClick();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(MasterAsciiDialog, AsksForAnOutFileInTheStartDirectory) {
    TempDir temp;
    const QString start = QString::fromStdString(temp.path().string());
    std::string chosen;
    OnModal([&] { chosen = AskMasterAsciiFile(nullptr, temp.path().string()); },
            [&](QWidget* modal) {
                auto* dialog = qobject_cast<QFileDialog*>(modal);
                ASSERT_NE(dialog, nullptr);
                EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Save Master ASCII File"));
                EXPECT_EQ(dialog->nameFilters(), QStringList{QStringLiteral("Text file (*.out)")});
                EXPECT_EQ(dialog->defaultSuffix(), QStringLiteral("out"));
                EXPECT_EQ(dialog->directory().absolutePath(), start);
                dialog->selectFile(start + QStringLiteral("/export"));
                static_cast<QDialog*>(dialog)->accept();
            });
    EXPECT_EQ(chosen, temp.path().string() + "/export.out");
}

} // namespace
