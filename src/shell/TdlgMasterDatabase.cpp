#include "shell/TdlgMasterDatabase.h"

#include "master/MasterStoreProvider.h"
#include "shell/BusyCursor.h"
#include "support/Prompt.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace brimlo {

namespace {

constexpr const char* kCaption = "Master Database";

QLineEdit* Edit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

std::string Trimmed(const QLineEdit* edit) {
    return edit->text().trimmed().toStdString();
}

} // namespace

TdlgMasterDatabase::TdlgMasterDatabase(QWidget* owner, const MasterDatabaseChoice& choice,
                                       Prompt& prompt)
    : QDialog(owner), prompt_(prompt) {
    setObjectName(QStringLiteral("dlgMasterDatabase"));
    setWindowTitle(QString::fromLatin1(kCaption));
    buildControls();
    showChoice(choice);
}

void TdlgMasterDatabase::buildControls() {
    auto* layout = new QVBoxLayout(this);
    local_ = new QRadioButton(QStringLiteral("&Local file (master.db in the data folder)"), this);
    local_->setObjectName(QStringLiteral("rbLocal"));
    server_ = new QRadioButton(QStringLiteral("&PostgreSQL server"), this);
    server_->setObjectName(QStringLiteral("rbServer"));
    layout->addWidget(local_);
    layout->addWidget(server_);

    serverFields_ = new QWidget(this);
    auto* form = new QFormLayout(serverFields_);
    host_ = Edit(serverFields_, "edHost");
    port_ = new QSpinBox(serverFields_);
    port_->setObjectName(QStringLiteral("spPort"));
    port_->setRange(1, 65535);
    database_ = Edit(serverFields_, "edDatabase");
    user_ = Edit(serverFields_, "edUser");
    form->addRow(QStringLiteral("&Host:"), host_);
    form->addRow(QStringLiteral("P&ort:"), port_);
    form->addRow(QStringLiteral("&Database:"), database_);
    form->addRow(QStringLiteral("&User:"), user_);
    auto* password = new QLabel(
        QStringLiteral("The password is not stored here: put it into ~/.pgpass "
                       "(host:port:database:user:password, mode 0600) or set PGPASSWORD."),
        serverFields_);
    password->setWordWrap(true);
    form->addRow(password);
    layout->addWidget(serverFields_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* test =
        buttons->addButton(QStringLiteral("&Test Connection"), QDialogButtonBox::ActionRole);
    test->setObjectName(QStringLiteral("btnTestConnection"));
    test->setAutoDefault(false);
    layout->addWidget(buttons);

    connect(server_, &QRadioButton::toggled, this, [this](bool on) { serverChosen(on); });
    connect(test, &QPushButton::clicked, this, [this] { testConnection(); });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { accepted(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void TdlgMasterDatabase::showChoice(const MasterDatabaseChoice& choice) {
    host_->setText(QString::fromStdString(choice.server.host));
    port_->setValue(choice.server.port);
    database_->setText(QString::fromStdString(choice.server.database));
    user_->setText(QString::fromStdString(choice.server.user));
    (choice.onServer ? server_ : local_)->setChecked(true);
    serverChosen(choice.onServer);
    (choice.onServer ? server_ : local_)->setFocus();
}

void TdlgMasterDatabase::serverChosen(bool on) {
    serverFields_->setEnabled(on);
}

MasterDatabaseChoice TdlgMasterDatabase::choice() const {
    MasterDatabaseChoice choice;
    choice.onServer = server_->isChecked();
    choice.server.host = Trimmed(host_);
    choice.server.port = port_->value();
    choice.server.database = Trimmed(database_);
    choice.server.user = Trimmed(user_);
    return choice;
}

bool TdlgMasterDatabase::addressComplete() {
    if (choice().server.complete())
        return true;
    prompt_.message("Enter the server's host name and the database.", kCaption, PromptIcon::Error);
    (host_->text().trimmed().isEmpty() ? host_ : database_)->setFocus();
    return false;
}

void TdlgMasterDatabase::testConnection() {
    if (!addressComplete())
        return;
    std::string problem;
    {
        BusyCursor busy;
        problem = MasterStoreProvider::ProbeServer(choice().server.uri());
    }
    if (problem.empty())
        prompt_.message("The master database server answered.", kCaption, PromptIcon::Information);
    else
        prompt_.message(problem, kCaption, PromptIcon::Error);
}

void TdlgMasterDatabase::accepted() {
    if (server_->isChecked() && !addressComplete())
        return;
    accept();
}

} // namespace brimlo
