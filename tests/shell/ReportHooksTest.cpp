#include "shell/ReportHooks.h"

#include "MainWindowTestSupport.h"
#include "reports/ReportPreview.h"
#include "shell/DataEntryHooks.h"
#include "support/BrimloError.h"

using namespace brimlo;
using namespace brimlo::testing;

namespace {

// What a preview was asked to show.
struct PreviewCall {
    std::string report;
    QWidget* parent = nullptr;
    Dataset* master = nullptr;
    CMaster* masterRecord = nullptr;
    LoadData load;
    bool logEditedWhenShown = true;
};

class ReportHooks : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowHooks hooks;
        AddDataEntryHooks(hooks);
        AddReportHooks(hooks, fakes());
        open(hooks);
    }

    ReportPreviews fakes() {
        ReportPreviews p;
        auto master = [this](const char* name) {
            return [this, name](QWidget* parent, Dataset& dataset, Prompt&) {
                if (!failure.empty())
                    throw BrimloError(failure);
                calls.push_back({name, parent, &dataset, nullptr, {}, false});
            };
        };
        auto load = [this](const char* name) {
            return [this, name](QWidget* parent, const LoadData& data, CMaster& record, Prompt&) {
                calls.push_back({name, parent, nullptr, &record, data,
                                 loadWindow()->document().log().isEditing()});
            };
        };
        p.masterSummary = master("summary");
        p.masterFullAll = master("all");
        p.masterFullCurrent = master("current");
        p.loadLogListing = load("listing");
        p.loadSummary = load("load summary");
        return p;
    }

    TfrmDataEntry* loadWindow() const {
        return dynamic_cast<TfrmDataEntry*>(window->activeChild());
    }

    std::vector<PreviewCall> calls;
    std::string failure;
};

TEST_F(ReportHooks, EachMasterCommandPreviewsTheMasterTableOrShowsItsError) {
    AddMasterRecord(window->tables().master(), 123);
    ScriptedPrompt prompt;
    window->mnuPrintMasterSummaryClick();
    window->mnuPrintAllMasterClick();
    window->mnuPrintCurrentMasterClick();
    const char* const reports[] = {"summary", "all", "current"};
    ASSERT_EQ(calls.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(calls[i].report, reports[i]);
        EXPECT_EQ(calls[i].master, &window->tables().master());
        EXPECT_EQ(calls[i].parent, window.get());
    }
    // A report's error goes to the error box.
    failure = "The report could not be laid out.";
    prompt.expect(failure);
    window->mnuPrintAllMasterClick();
    EXPECT_EQ(calls.size(), 3u);
}

// Without a load window a load report does nothing; the listing posts the
// log being keyed first, and the full load report is the listing then the
// summary.
TEST_F(ReportHooks, TheLoadReportsPostTheLogBeingKeyedFirst) {
    ScriptedPrompt prompt;
    window->mnuPrintLoadSummaryClick();
    window->hooks().printLoadSummary(*window, nullptr);
    EXPECT_TRUE(calls.empty());
    // A new load whose first log has a length keyed but not yet posted.
    window->mnuNewLoadClick();
    Settle();
    ASSERT_NE(loadWindow(), nullptr);
    loadWindow()->document().AppendLog();
    Dataset& log = loadWindow()->document().log();
    log.edit();
    log.setField("LENGTH", Value(int32_t{40}));
    ASSERT_TRUE(log.isEditing());
    window->mnuPrintLogClick();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].report, "listing");
    EXPECT_FALSE(calls[0].logEditedWhenShown);
    EXPECT_EQ(calls[0].masterRecord, &window->masterRecord());
    EXPECT_EQ(calls[0].parent, window.get());
    ASSERT_FALSE(calls[0].load.logs.empty());
    EXPECT_EQ(calls[0].load.logs.back().LENGTH, 40);
    // The load as the window's workspace holds it.
    EXPECT_EQ(calls[0].load, loadWindow()->document().BuildLoadData());
    window->mnuPrintFullLoadClick();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[1].report, "listing");
    EXPECT_EQ(calls[2].report, "load summary");
    EXPECT_EQ(calls[1].load, calls[2].load);
}

// The program's own preview opens modally over the main window and the
// command returns once it is closed.
TEST(ReportHooksPreview, TheMasterSummaryOpensAPrintPreview) {
    MainWindowFixture fixture;
    MainWindowHooks hooks;
    AddReportHooks(hooks);
    auto window = fixture.make(hooks);
    AddMasterRecord(window->tables().master(), 123);
    ScriptedPrompt prompt;
    EXPECT_TRUE(OnModal([&] { window->mnuPrintMasterSummaryClick(); },
                        [](QWidget* modal) {
                            EXPECT_TRUE(qobject_cast<ReportPreview*>(modal));
                            modal->close();
                        }));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
