#pragma once

#include "shell/MasterDatabaseSettings.h"

#include <QDialog>

class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace brimlo {

class Prompt;

// "Master Database": this computer's master.db or a master on a PostgreSQL
// server (host, port, database, login). No password field: libpq reads
// it from ~/.pgpass or PGPASSWORD, which the dialog tells. "Test
// Connection" tries the server as typed.
class TdlgMasterDatabase : public QDialog {
public:
    TdlgMasterDatabase(QWidget* owner, const MasterDatabaseChoice& choice, Prompt& prompt);

    // The choice as the dialog shows it.
    MasterDatabaseChoice choice() const;

private:
    void buildControls();
    void showChoice(const MasterDatabaseChoice& choice);
    void serverChosen(bool on);
    // False, after telling the user, when the server's address is wanting.
    bool addressComplete();
    void testConnection();
    void accepted();

    QRadioButton* local_ = nullptr;
    QRadioButton* server_ = nullptr;
    QLineEdit* host_ = nullptr;
    QSpinBox* port_ = nullptr;
    QLineEdit* database_ = nullptr;
    QLineEdit* user_ = nullptr;
    QWidget* serverFields_ = nullptr;
    Prompt& prompt_;
};

} // namespace brimlo
