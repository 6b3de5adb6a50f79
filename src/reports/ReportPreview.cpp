#include "reports/ReportPreview.h"

#include "reports/BandedReport.h"
#include "reports/ReportPageView.h"
#include "support/BrimloError.h"
#include "support/Prompt.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QTemporaryFile>
#include <QToolBar>
#include <QVBoxLayout>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace brimlo {

namespace {

QString PathOf(const std::string& fileName) {
    return QFile::decodeName(QByteArray::fromStdString(fileName));
}

[[noreturn]] void FailWriting(const std::string& fileName) {
    throw BrimloError("Error: Unable to write to file: '" + fileName + "'.");
}

// Reserves a fresh name beside the target for the printer to write to.
QString StagingName(const QString& target, const std::string& fileName) {
    const QFileInfo info(target);
    QTemporaryFile reserve(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                           QStringLiteral(".XXXXXX"));
    reserve.setAutoRemove(false);
    if (!reserve.open())
        FailWriting(fileName);
    return reserve.fileName();
}

bool FlushToDisk(const QString& path) {
    const QByteArray local = QFile::encodeName(path);
    const int fd = ::open(local.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    return ::close(fd) == 0 && synced;
}

QString AskPdfFileName(QWidget* parent) {
    QString name = QFileDialog::getSaveFileName(parent, QStringLiteral("Save Report as PDF"),
                                                QString(), QStringLiteral("PDF files (*.pdf)"));
    if (!name.isEmpty() && QFileInfo(name).suffix().isEmpty())
        name += QStringLiteral(".pdf");
    return name;
}

constexpr double kZoomStep = 1.25;

} // namespace

ReportPreview::ReportPreview(const BandedReport& report, QPrinter& printer, Prompt& prompt,
                             QWidget* parent)
    : QDialog(parent), report_(report), printer_(printer), prompt_(prompt),
      pages_(new ReportPageView(report, this)), pageNumber_(new QLabel(this)) {
    setWindowTitle(report.title());
    pageNumber_->setObjectName(QStringLiteral("lblPage"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    addCommands();
    layout->addWidget(pages_, 1);
    connect(pages_, &ReportPageView::currentPageChanged, this, &ReportPreview::showPageNumber);
    showPageNumber(0);
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        resize(screen->availableGeometry().size() * 0.85);
    pages_->setFocus();
}

QAction* ReportPreview::addCommand(const QString& name, const QString& text,
                                   const QList<QKeySequence>& keys) {
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    action->setToolTip(text + QStringLiteral(" (") +
                       keys.front().toString(QKeySequence::NativeText) + QStringLiteral(")"));
    addAction(action);
    return action;
}

void ReportPreview::addCommands() {
    auto* bar = new QToolBar(this);
    layout()->addWidget(bar);
    auto add = [this, bar](const char* name, const char* text, QList<QKeySequence> keys,
                           auto slot) {
        QAction* action = addCommand(QLatin1String(name), QLatin1String(text), keys);
        connect(action, &QAction::triggered, this, slot);
        bar->addAction(action);
    };
    using Key = QKeySequence;
    add("actFirstPage", "First Page", {Key(Qt::Key_Home), Key(Qt::CTRL | Qt::Key_Home)},
        [this] { pages_->showPage(0); });
    add("actPriorPage", "Previous Page", {Key(Qt::Key_PageUp)},
        [this] { pages_->showPage(pages_->currentPage() - 1); });
    add("actNextPage", "Next Page", {Key(Qt::Key_PageDown)},
        [this] { pages_->showPage(pages_->currentPage() + 1); });
    add("actLastPage", "Last Page", {Key(Qt::Key_End), Key(Qt::CTRL | Qt::Key_End)},
        [this] { pages_->showPage(report_.pageCount() - 1); });
    bar->addWidget(pageNumber_);
    bar->addSeparator();
    add("actZoomIn", "Zoom In",
        {Key(Qt::Key_Plus), Key(Qt::CTRL | Qt::Key_Plus), Key(Qt::CTRL | Qt::Key_Equal)},
        [this] { zoomBy(kZoomStep); });
    add("actZoomOut", "Zoom Out", {Key(Qt::Key_Minus), Key(Qt::CTRL | Qt::Key_Minus)},
        [this] { zoomBy(1.0 / kZoomStep); });
    add("actFitWidth", "Fit Width", {Key(Qt::CTRL | Qt::Key_0), Key(Qt::Key_W)},
        [this] { pages_->fitWidth(); });
    bar->addSeparator();
    add("actPrint", "Print...", {Key(Qt::CTRL | Qt::Key_P)}, [this] { print(); });
    add("actSaveAsPdf", "Save as PDF...", {Key(Qt::CTRL | Qt::Key_S)}, [this] { saveAsPdf(); });
}

void ReportPreview::showPageNumber(int page) {
    pageNumber_->setText(QStringLiteral("  Page %1 of %2  ")
                             .arg(report_.pageCount() == 0 ? 0 : page + 1)
                             .arg(report_.pageCount()));
}

void ReportPreview::zoomBy(double factor) {
    pages_->setZoom(pages_->zoom() * factor);
}

// Errors cannot leave a slot: the user hears of them here.
void ReportPreview::print() {
    QPrintDialog dialog(&printer_, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    try {
        report_.print(printer_);
    } catch (const BrimloError& error) {
        prompt_.error(error.what());
    }
}

void ReportPreview::saveAsPdf() {
    const QString name = AskPdfFileName(this);
    if (name.isEmpty())
        return;
    try {
        SaveReportPdf(report_, QFile::encodeName(name).toStdString());
    } catch (const BrimloError& error) {
        prompt_.error(error.what());
    }
}

std::unique_ptr<ReportPreview> MakeReportPreview(QWidget* parent, const BandedReport& report,
                                                 QPrinter& printer, Prompt& prompt) {
    report.setUpPrinter(printer);
    return std::make_unique<ReportPreview>(report, printer, prompt, parent);
}

void ShowReportPreview(QWidget* parent, const BandedReport& report, Prompt& prompt) {
    QPrinter printer(QPrinter::HighResolution);
    std::unique_ptr<ReportPreview> dialog = MakeReportPreview(parent, report, printer, prompt);
    dialog->exec();
}

QImage PageImage(const BandedReport& report, int widthPx) {
    const double pixelsPerMm = widthPx / report.pageWidth();
    const auto height = static_cast<int>(std::lround(report.pageHeight() * pixelsPerMm));
    QImage image(widthPx, height, QImage::Format_RGB32);
    const auto dotsPerMeter = static_cast<int>(std::lround(pixelsPerMm * 1000.0));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    return image;
}

void SaveReportPdf(const BandedReport& report, const std::string& fileName) {
    const QString target = PathOf(fileName);
    const QString staging = StagingName(target, fileName);
    try {
        QPrinter printer(QPrinter::HighResolution);
        report.setUpPrinter(printer);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(staging);
        report.print(printer);
    } catch (const BrimloError&) {
        QFile::remove(staging);
        FailWriting(fileName);
    }
    const QByteArray from = QFile::encodeName(staging);
    const QByteArray to = QFile::encodeName(target);
    if (!FlushToDisk(staging) || std::rename(from.constData(), to.constData()) != 0) {
        QFile::remove(staging);
        FailWriting(fileName);
    }
}

} // namespace brimlo
