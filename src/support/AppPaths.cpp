#include "support/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace brimlo {

namespace {

std::string WithSeparator(const QString& directory) {
    std::string text = QDir::toNativeSeparators(directory).toStdString();
    if (text.empty() || text.back() != '/')
        text += '/';
    return text;
}

// The shared data folder itself is made when missing (any depth), the
// program's folder under it one level only.
bool MakeDataFolder(const QString& base, const QString& folderName, QString& result) {
    if (base.isEmpty() || !QDir().mkpath(base))
        return false;
    const QString candidate = QDir(base).filePath(folderName);
    if (!QFileInfo(candidate).isDir() && !QDir(base).mkdir(folderName))
        return false;
    result = candidate;
    return true;
}

} // namespace

std::string InstallationDirectory() {
    return WithSeparator(QCoreApplication::applicationDirPath());
}

std::string ProgramFilePath() {
    return QCoreApplication::applicationFilePath().toStdString();
}

bool FindAppDataDirectory(const std::string& installationDirectory, std::string& directory,
                          const std::string& folderName) {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    QString found;
    if (MakeDataFolder(base, QString::fromStdString(folderName), found)) {
        directory = WithSeparator(found);
        return true;
    }
    directory = installationDirectory;
    return false;
}

int ReadProgramVersion(const std::string& programFile, std::string& version,
                       std::optional<std::chrono::system_clock::time_point>& date) {
    version = BRIMLO_VERSION_TEXT;
    const QFileInfo info(QString::fromStdString(programFile));
    if (!info.exists())
        return kProgramFileUnreadable;
    const auto msecs = info.lastModified().toMSecsSinceEpoch();
    date = std::chrono::system_clock::time_point(std::chrono::milliseconds(msecs));
    return 0;
}

} // namespace brimlo
