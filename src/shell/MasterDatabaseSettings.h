#pragma once

#include "master/MasterServerAddress.h"

#include <optional>
#include <string>

class QSettings;

namespace brimlo {

// The master the user chose in "Master Database...": this computer's
// master.db or a server. It lives in the user's settings, not in the
// private tables: it belongs to the computer's user, and a copied data
// folder must not post elsewhere. The server's address is kept while the
// local file is chosen, for the next time. No password is ever written.
struct MasterDatabaseChoice {
    bool onServer = false;
    MasterServerAddress server;

    // The server's connection string when a complete server is chosen.
    std::optional<std::string> serverUri() const;
};

MasterDatabaseChoice ReadMasterDatabaseChoice(QSettings& settings);
void WriteMasterDatabaseChoice(QSettings& settings, const MasterDatabaseChoice& choice);

} // namespace brimlo
