#include "reports/ReportPreview.h"

#include "ReportTestSupport.h"
#include "master/CMaster.h"
#include "reports/LoadLogReport.h"
#include "reports/MasterSummaryReport.h"
#include "support/BrimloError.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QPageLayout>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTimer>
#include <QToolBar>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>

namespace brimlo::testing {
namespace {

LoadData SmallLoad() {
    LoadData load;
    load.header = SampleHeader();
    load.logs = {MakeLog(1, "S", "GR", "01", 250)};
    return load;
}

TEST(ReportPreviewTest, PreviewCarriesTitleAndSaveAsPdf) {
    TfrmLoadLogReport form;
    CMaster master;
    form.Prepare(SmallLoad(), master);
    QPrinter printer(QPrinter::HighResolution);
    auto dialog = MakeReportPreview(nullptr, form.report(), printer);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("BRIMLO Log Listing"));
    EXPECT_EQ(printer.docName(), QStringLiteral("BRIMLO Log Listing"));
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);
    auto* save = dialog->findChild<QAction*>(QStringLiteral("actSaveAsPdf"));
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(save->text(), QStringLiteral("Save as PDF..."));
    auto* toolBar = dialog->findChild<QToolBar*>();
    ASSERT_NE(toolBar, nullptr);
    EXPECT_TRUE(toolBar->actions().contains(save));
}

// Runs once the next modal window is up.
void WhenModal(std::function<void(QWidget*)> step) {
    QTimer::singleShot(0, [step] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
            WhenModal(step);
            return;
        }
        step(modal);
    });
}

TEST(ReportPreviewTest, ModalPreviewShowsEveryPageAndSavesAPdf) {
    TempDir dir;
    const auto saved = dir / "saved.pdf";
    LoadData load = SmallLoad();
    for (int i = 2; i <= 60; ++i)
        load.logs.push_back(MakeLog(i, "S", "GR", "01", 100));
    TfrmLoadLogReport form;
    CMaster master;
    form.Prepare(load, master);
    ASSERT_EQ(form.report().pageCount(), 2);

    int shownPages = 0;
    QString shownTitle;
    WhenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QPrintPreviewDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        shownTitle = dialog->windowTitle();
        shownPages = dialog->findChild<QPrintPreviewWidget*>()->pageCount();
        WhenModal([&](QWidget* chooser) {
            auto* files = qobject_cast<QFileDialog*>(chooser);
            ASSERT_NE(files, nullptr);
            files->selectFile(QString::fromStdString(saved.string()));
            static_cast<QDialog*>(files)->accept();
        });
        dialog->findChild<QAction*>(QStringLiteral("actSaveAsPdf"))->trigger();
        dialog->reject();
    });
    ShowReportPreview(nullptr, form.report());
    EXPECT_EQ(shownTitle, QStringLiteral("BRIMLO Log Listing"));
    EXPECT_EQ(shownPages, 2);
    ASSERT_TRUE(std::filesystem::exists(saved));
    const auto pages = ReadPdfWords(saved);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_TRUE(pages[1].contains("60"));
}

TEST(ReportPreviewTest, MasterSummaryPrintsLandscape) {
    TfrmMasterSummary form;
    form.Prepare(std::vector<MasterReportRecord>{});
    QPrinter printer(QPrinter::HighResolution);
    auto dialog = MakeReportPreview(nullptr, form.report(), printer);
    EXPECT_EQ(printer.docName(), QStringLiteral("Master File Summary"));
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
}

TEST(ReportPreviewTest, SavingReplacesAnEarlierFileAndLeavesNothingBehind) {
    TempDir dir;
    const auto file = dir / "listing.pdf";
    { std::ofstream(file) << "old"; }
    TfrmLoadLogReport form;
    CMaster master;
    form.Prepare(SmallLoad(), master);
    SaveReportPdf(form.report(), file.string());
    std::ifstream in(file, std::ios::binary);
    std::string start(5, '\0');
    in.read(start.data(), 5);
    EXPECT_EQ(start, "%PDF-");
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(ReportPreviewTest, UnwritableTargetNamesTheFile) {
    TempDir dir;
    const std::string file = (dir / "missing" / "listing.pdf").string();
    TfrmLoadLogReport form;
    CMaster master;
    form.Prepare(SmallLoad(), master);
    try {
        SaveReportPdf(form.report(), file);
        FAIL() << "no error";
    } catch (const BrimloError& error) {
        EXPECT_NE(std::string(error.what()).find(file), std::string::npos) << error.what();
    }
}

} // namespace
} // namespace brimlo::testing
