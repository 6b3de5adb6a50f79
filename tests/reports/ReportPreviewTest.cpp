#include "reports/ReportPreview.h"

#include "ReportTestSupport.h"
#include "common/FileBytes.h"
#include "common/ScriptedPrompt.h"
#include "master/CMaster.h"
#include "reports/LoadLogReport.h"
#include "reports/MasterSummaryReport.h"
#include "reports/ReportPageView.h"
#include "support/BrimloError.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QPageLayout>
#include <QPrinter>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <functional>
#include <gmock/gmock.h>

namespace brimlo::testing {
namespace {

InstalledPrompt boxes;

// The log listing of a load, prepared for printing.
struct Listing {
    TfrmLoadLogReport form;
    CMaster master;
    explicit Listing(const LoadData& load = SampleLoadOf(1)) { form.Prepare(load, master); }
};

TEST(ReportPreviewTest, PreviewCarriesTitleAndSaveAsPdf) {
    Listing listing;
    QPrinter printer(QPrinter::HighResolution);
    auto dialog = MakeReportPreview(nullptr, listing.form.report(), printer, boxes);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("BRIMLO Log Listing"));
    EXPECT_EQ(printer.docName(), QStringLiteral("BRIMLO Log Listing"));
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);
    auto* save = dialog->findChild<QAction*>(QStringLiteral("actSaveAsPdf"));
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(save->text(), QStringLiteral("Save as PDF..."));
    auto* toolBar = dialog->findChild<QToolBar*>();
    ASSERT_NE(toolBar, nullptr);
    EXPECT_TRUE(toolBar->actions().contains(save));

    // The master summary prints landscape.
    TfrmMasterSummary summary;
    summary.Prepare(std::vector<MasterReportRecord>{});
    auto landscape = MakeReportPreview(nullptr, summary.report(), printer, boxes);
    EXPECT_EQ(printer.docName(), QStringLiteral("Master File Summary"));
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
}

// Runs once the next modal window is up.
void WhenModal(std::function<void(QWidget*)> step) {
    QTimer::singleShot(0, [step] {
        if (QWidget* modal = QApplication::activeModalWidget())
            step(modal);
        else
            WhenModal(step);
    });
}

TEST(ReportPreviewTest, ModalPreviewShowsEveryPageAndSavesAPdf) {
    TempDir dir;
    const auto saved = dir / "saved.pdf";
    Listing listing(SampleLoadOf(60));
    ASSERT_EQ(listing.form.report().pageCount(), 2);

    QString shownPages;
    WhenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<ReportPreview*>(modal);
        ASSERT_NE(dialog, nullptr);
        shownPages = dialog->findChild<QLabel*>(QStringLiteral("lblPage"))->text().trimmed();
        WhenModal([&](QWidget* chooser) {
            auto* files = qobject_cast<QFileDialog*>(chooser);
            ASSERT_NE(files, nullptr);
            files->selectFile(QString::fromStdString(saved.string()));
            static_cast<QDialog*>(files)->accept();
        });
        dialog->findChild<QAction*>(QStringLiteral("actSaveAsPdf"))->trigger();
        dialog->reject();
    });
    ShowReportPreview(nullptr, listing.form.report(), boxes);
    EXPECT_EQ(shownPages, QStringLiteral("Page 1 of 2"));
    const auto pages = ReadPdfWords(saved); // fails where there is no file
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_TRUE(pages[1].contains("60"));
}

// A long report opens fitted to the page width on its first page, paints
// only the pages in view, and moves and zooms by keys.
TEST(ReportPreviewTest, KeysMoveThroughPagesPaintedOnlyWhenShown) {
    std::vector<MasterReportRecord> records(3000);
    for (MasterReportRecord& m : records)
        m.numGroups = 12;
    TfrmMasterSummary form;
    form.Prepare(std::move(records));
    const int pages = form.report().pageCount();
    ASSERT_GT(pages, 50);
    QPrinter printer(QPrinter::HighResolution);
    auto dialog = MakeReportPreview(nullptr, form.report(), printer, boxes);
    dialog->resize(800, 600);
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    ReportPageView& view = dialog->pages();
    view.viewport()->repaint();
    const int pageWidth = static_cast<int>(form.report().pageWidth() * view.zoom());
    EXPECT_NEAR(pageWidth, view.viewport()->width() - 20, 2) << "fitted to the width";
    EXPECT_EQ(view.currentPage(), 0);
    EXPECT_LE(view.paintedPages(), 2);

    // Each key and the page it shows.
    const std::pair<Qt::Key, int> steps[] = {{Qt::Key_PageDown, 1},
                                             {Qt::Key_PageDown, 2},
                                             {Qt::Key_PageUp, 1},
                                             {Qt::Key_End, pages - 1},
                                             {Qt::Key_Home, 0}};
    for (const auto& [key, page] : steps) {
        QTest::keyClick(&view, key);
        view.viewport()->repaint();
        EXPECT_EQ(view.currentPage(), page) << key;
    }
    EXPECT_LE(view.paintedPages(), 10) << "of " << pages << " pages";
    EXPECT_EQ(dialog->findChild<QLabel*>(QStringLiteral("lblPage"))->text().trimmed(),
              QStringLiteral("Page 1 of %1").arg(pages));

    const double fit = view.zoom();
    QTest::keyClick(&view, Qt::Key_Plus);
    EXPECT_GT(view.zoom(), fit);
    QTest::keyClick(&view, Qt::Key_Minus);
    QTest::keyClick(&view, Qt::Key_Minus);
    EXPECT_LT(view.zoom(), fit);
    QTest::keyClick(&view, Qt::Key_0, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(view.zoom(), fit);
}

TEST(ReportPreviewTest, SavingReplacesAnEarlierFileAndLeavesNothingBehind) {
    TempDir dir;
    const auto file = dir / "listing.pdf";
    WriteBytes(file, "old");
    SaveReportPdf(Listing().form.report(), file.string());
    EXPECT_EQ(ReadBytes(file).substr(0, 5), "%PDF-");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(ReportPreviewTest, UnwritableTargetNamesTheFile) {
    TempDir dir;
    const std::string file = (dir / "missing" / "listing.pdf").string();
    EXPECT_THAT([&] { SaveReportPdf(Listing().form.report(), file); },
                ::testing::ThrowsMessage<BrimloError>(::testing::HasSubstr(file)));
}

} // namespace
} // namespace brimlo::testing
