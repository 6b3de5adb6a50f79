#include "reports/ReportPreview.h"

#include "reports/BandedReport.h"
#include "support/BrimloError.h"
#include "support/Prompt.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTemporaryFile>
#include <QToolBar>
#include <cerrno>
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

void SaveFromPreview(QWidget* dialog, const BandedReport& report) {
    const QString name = AskPdfFileName(dialog);
    if (name.isEmpty())
        return;
    try {
        SaveReportPdf(report, QFile::encodeName(name).toStdString());
    } catch (const BrimloError& error) {
        Prompt::current().error(error.what());
    }
}

// Errors cannot leave a signal handler: the user hears of them here.
void PrintFromPreview(const BandedReport& report, QPrinter& printer) {
    try {
        report.print(printer);
    } catch (const BrimloError& error) {
        Prompt::current().error(error.what());
    }
}

void AddSaveAsPdf(QPrintPreviewDialog& dialog, const BandedReport& report) {
    auto* save = new QAction(QStringLiteral("Save as PDF..."), &dialog);
    save->setObjectName(QStringLiteral("actSaveAsPdf"));
    save->setToolTip(QStringLiteral("Save the report as a PDF file"));
    QObject::connect(save, &QAction::triggered, &dialog,
                     [&dialog, &report] { SaveFromPreview(&dialog, report); });
    if (auto* toolBar = dialog.findChild<QToolBar*>()) {
        toolBar->addSeparator();
        toolBar->addAction(save);
    } else {
        dialog.addAction(save);
    }
}

} // namespace

std::unique_ptr<QPrintPreviewDialog> MakeReportPreview(QWidget* parent, const BandedReport& report,
                                                       QPrinter& printer) {
    report.setUpPrinter(printer);
    auto dialog = std::make_unique<QPrintPreviewDialog>(&printer, parent);
    dialog->setWindowTitle(report.title());
    QObject::connect(dialog.get(), &QPrintPreviewDialog::paintRequested, dialog.get(),
                     [&report](QPrinter* target) { PrintFromPreview(report, *target); });
    AddSaveAsPdf(*dialog, report);
    return dialog;
}

void ShowReportPreview(QWidget* parent, const BandedReport& report) {
    QPrinter printer(QPrinter::HighResolution);
    std::unique_ptr<QPrintPreviewDialog> dialog = MakeReportPreview(parent, report, printer);
    dialog->exec();
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
