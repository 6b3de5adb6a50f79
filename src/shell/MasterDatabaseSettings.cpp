#include "shell/MasterDatabaseSettings.h"

#include <QSettings>

namespace brimlo {

namespace {

const QString kLocation = QStringLiteral("MasterDatabase/Location");
const QString kHost = QStringLiteral("MasterDatabase/Host");
const QString kPort = QStringLiteral("MasterDatabase/Port");
const QString kDatabase = QStringLiteral("MasterDatabase/Database");
const QString kUser = QStringLiteral("MasterDatabase/User");
const QString kServer = QStringLiteral("server");
const QString kFile = QStringLiteral("file");

std::string Text(QSettings& settings, const QString& key) {
    return settings.value(key).toString().trimmed().toStdString();
}

} // namespace

std::optional<std::string> MasterDatabaseChoice::serverUri() const {
    if (!onServer || !server.complete())
        return std::nullopt;
    return server.uri();
}

MasterDatabaseChoice ReadMasterDatabaseChoice(QSettings& settings) {
    MasterDatabaseChoice choice;
    choice.onServer = settings.value(kLocation).toString() == kServer;
    choice.server.host = Text(settings, kHost);
    choice.server.database = Text(settings, kDatabase);
    choice.server.user = Text(settings, kUser);
    bool ok = false;
    const int port = settings.value(kPort, MasterServerAddress::kDefaultPort).toInt(&ok);
    // A hand-edited port that cannot be one gives way to the standard port.
    choice.server.port = ok && port > 0 && port <= 65535 ? port : MasterServerAddress::kDefaultPort;
    return choice;
}

void WriteMasterDatabaseChoice(QSettings& settings, const MasterDatabaseChoice& choice) {
    settings.setValue(kLocation, choice.onServer ? kServer : kFile);
    settings.setValue(kHost, QString::fromStdString(choice.server.host));
    settings.setValue(kPort, choice.server.port);
    settings.setValue(kDatabase, QString::fromStdString(choice.server.database));
    settings.setValue(kUser, QString::fromStdString(choice.server.user));
    settings.sync();
}

} // namespace brimlo
