#include "shell/TfrmMain.h"

#include "load/WorkspaceFragments.h"
#include "master/GuardedCommand.h"
#include "master/MainTables.h"
#include "master/MasterPosting.h"
#include "master/MasterStoreProvider.h"
#include "master/MasterTable.h"
#include "master/ParadoxMasterExport.h"
#include "master/PgMasterStore.h"
#include "master/PgMasterTableStore.h"
#include "rules/Cglobals.h"
#include "shell/AboutBox.h"
#include "shell/BusyCursor.h"
#include "shell/ChildPlacement.h"
#include "shell/MasterDatabaseSettings.h"
#include "shell/TdlgMasterDatabase.h"
#include "shell/TfrmCheckScale.h"
#include "support/Cp1252.h"
#include "support/LocalFileName.h"
#include "support/Prompt.h"
#include "support/WorkspaceFiles.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScopedValueRollback>
#include <QSettings>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <set>
#include <stdexcept>
#include <vector>

namespace brimlo {

namespace {

constexpr const char* kRecoverQuestion =
    "Data exists in temporary workspace.\nDo you want to use this data?\nYes, Load the "
    "temporary workspace (Yes)\nNo, delete data in temporary workspace (No)\nCancel, don't use "
    "the temporary workspace but don't delete it either (Cancel)";
constexpr const char* kRecoverCaption = "Use data from temporary workspace?";
constexpr const char* kEmptyMasterText = "The master file contains no records.";
constexpr const char* kExportMasterDbCaption = "Export master.db";

// The user's settings, where the choice of master is kept.
std::unique_ptr<QSettings> UserSettings() {
    return std::make_unique<QSettings>(QSettings::UserScope, QStringLiteral("Brimlo"),
                                       QStringLiteral("brimlo"));
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code ec;
    return std::filesystem::weakly_canonical(a, ec) == std::filesystem::weakly_canonical(b, ec);
}

ChildWindow* CommandsOf(QWidget* widget) {
    return dynamic_cast<ChildWindow*>(widget);
}

} // namespace

TfrmMain::TfrmMain(MainWindowHooks hooks, QWidget* parent)
    : QMainWindow(parent), hooks_(std::move(hooks)) {
    // Every box of the windows goes to the run's prompt; there is no other.
    if (hooks_.prompt == nullptr)
        throw std::invalid_argument("the main window is made without the run's prompt");
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("BRIMLO"));
    tables_ = std::make_unique<MainTables>(hooks_.settings.appDataDirectory());
    masterTable_ = std::make_unique<MasterTable>(tables_->master());
    masterStores_ = std::make_unique<MasterStoreProvider>(
        *masterTable_, tables_->directory() + "outbox.db", *hooks_.prompt);
    watchMasterTable();
    mdi_ = new QMdiArea(this);
    mdi_->setObjectName(QStringLiteral("mdiClient"));
    setCentralWidget(mdi_);
    buildMenus();
    chooseMaster();
    outboxTimer_ = new QTimer(this);
    connect(outboxTimer_, &QTimer::timeout, this, [this] { RetryMasterOutbox(); });
    connect(&outboxProbe_, &QFutureWatcher<std::string>::finished, this, [this] {
        const std::string answered = outboxProbe_.result();
        if (!answered.empty() && answered == masterStores_->serverUri())
            DrainMasterOutbox();
    });
    outboxTimer_->start(kOutboxRetryMs);
    connect(mdi_, &QMdiArea::subWindowActivated, this, [this] { activeChildChanged(); });
    EnableCloseAndSave();
    EnableLoadCommands(false);
}

TfrmMain::~TfrmMain() {
    // The client area and the children outlive this part of the window;
    // what they report while they go must not reach it.
    closing_ = true;
    disconnect(mdi_, nullptr, this, nullptr);
    // Child windows call back into this window while they go (activation,
    // command states): they must go while it is still whole, not later
    // from the base class's destructor. That holds too for a window closed
    // a moment ago whose deletion is still queued: the client area no
    // longer lists it, the books still do.
    std::vector<const QObject*> children;
    for (const auto& [sub, kind] : kinds_)
        children.push_back(sub);
    kinds_.clear();
    for (const QObject* sub : children) {
        disconnect(sub, nullptr, this, nullptr);
        delete sub;
    }
    for (QMdiSubWindow* sub : mdi_->subWindowList())
        delete sub;
}

// --- menus ---------------------------------------------------------------

QAction* TfrmMain::addCommand(QMenu* menu, const char* objectName, const char* caption,
                              void (TfrmMain::*command)(), const QKeySequence& shortcut) {
    QAction* item = menu->addAction(QString::fromLatin1(caption));
    item->setObjectName(QString::fromLatin1(objectName));
    item->setShortcut(shortcut);
    connect(item, &QAction::triggered, this,
            [this, command] { RunGuarded(prompt(), [&] { (this->*command)(); }); });
    return item;
}

void TfrmMain::buildMenus() {
    buildFileMenu();
    buildEditMenu();
    buildWindowMenu();
    buildHelpMenu();
}

void TfrmMain::buildFileMenu() {
    QMenu* menu = menuBar()->addMenu(QStringLiteral("&File"));
    menu->setObjectName(QStringLiteral("mnuFile"));
    addCommand(menu, "mnuNewLoad", "&New Load", &TfrmMain::mnuNewLoadClick,
               QKeySequence(Qt::CTRL | Qt::Key_N));
    addCommand(menu, "mnuOpenLoad", "&Open Load", &TfrmMain::mnuOpenLoadClick,
               QKeySequence(Qt::CTRL | Qt::Key_O));
    menu->addSeparator();
    addCommand(menu, "mnuPrintMasterSummary", "Print Master File Summary",
               &TfrmMain::mnuPrintMasterSummaryClick);
    addCommand(menu, "mnuPrintAllMaster", "Print Master File Report (All)",
               &TfrmMain::mnuPrintAllMasterClick);
    addCommand(menu, "mnuPrintCurrentMaster", "Print Master File Report (Current)",
               &TfrmMain::mnuPrintCurrentMasterClick)
        ->setEnabled(false);
    addCommand(menu, "mnuPrintLog", "Print Load Log Listing", &TfrmMain::mnuPrintLogClick);
    addCommand(menu, "mnuPrintLoadSummary", "Print Load Summary",
               &TfrmMain::mnuPrintLoadSummaryClick);
    addCommand(menu, "mnuPrintFullLoad", "Print Full Load Report",
               &TfrmMain::mnuPrintFullLoadClick);
    addCommand(menu, "mnuCompareCheckScale", "Compare Check Scale...",
               &TfrmMain::mnuCompareCheckScaleClick);
    menu->addSeparator();
    addCommand(menu, "mnuSave", "&Save", &TfrmMain::mnuSaveClick,
               QKeySequence(Qt::CTRL | Qt::Key_S));
    addCommand(menu, "mnuSaveAs", "Save &As...", &TfrmMain::mnuSaveAsClick,
               QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S));
    menu->addSeparator();
    addCommand(menu, "mnuClose", "&Close", &TfrmMain::mnuCloseClick,
               QKeySequence(Qt::CTRL | Qt::Key_W));
    addCommand(menu, "mnuExit", "E&xit", &TfrmMain::mnuExitClick,
               QKeySequence(Qt::ALT | Qt::Key_X));
}

void TfrmMain::buildEditMenu() {
    QMenu* menu = menuBar()->addMenu(QStringLiteral("&Edit"));
    menu->setObjectName(QStringLiteral("mnuEdit"));
    addCommand(menu, "mnuMasterMaintenance", "Master File Maintenance...",
               &TfrmMain::mnuMasterMaintenanceClick, QKeySequence(Qt::CTRL | Qt::Key_M));
    addCommand(menu, "mnuSystemDefaults", "System &Defaults...", &TfrmMain::mnuSystemDefaultsClick,
               QKeySequence(Qt::CTRL | Qt::Key_D));
    addCommand(menu, "mnuMasterDatabase", "Master Data&base...", &TfrmMain::mnuMasterDatabaseClick);
    menu->addSeparator();
    addCommand(menu, "mnuMasterASCII", "Generate Master ASCII file...",
               &TfrmMain::mnuMasterASCIIClick);
    // Only a server's master needs copying into a master.db.
    addCommand(menu, "mnuExportMasterDb", "&Export master.db...", &TfrmMain::mnuExportMasterDbClick)
        ->setVisible(false);
}

void TfrmMain::buildWindowMenu() {
    windowMenu_ = menuBar()->addMenu(QStringLiteral("&Window"));
    windowMenu_->setObjectName(QStringLiteral("mnuWindow"));
    addCommand(windowMenu_, "mnuTile", "&Tile", &TfrmMain::mnuTileClick);
    addCommand(windowMenu_, "mnuCascade", "&Cascade", &TfrmMain::mnuCascadeClick);
    windowListStart_ = windowMenu_->addSeparator();
    windowListStart_->setVisible(false);
    connect(windowMenu_, &QMenu::aboutToShow, this, [this] { fillWindowList(); });
}

void TfrmMain::buildHelpMenu() {
    QMenu* menu = menuBar()->addMenu(QStringLiteral("Help"));
    menu->setObjectName(QStringLiteral("mnuHelp"));
    addCommand(menu, "mnuKeyboardShortcuts", "&Keyboard Shortcuts",
               &TfrmMain::mnuKeyboardShortcutsClick);
    addCommand(menu, "mnuRanges", "Values, Codes && &Ranges", &TfrmMain::mnuRangesClick);
    menu->addSeparator();
    addCommand(menu, "mnuAbout", "&About...", &TfrmMain::mnuAboutClick);
}

// The open child windows after Tile and Cascade, numbered, the active one
// checked; choosing one activates it.
void TfrmMain::fillWindowList() {
    const auto items = windowMenu_->actions();
    const auto start = items.indexOf(windowListStart_);
    for (qsizetype i = start + 1; i < items.size(); ++i)
        delete items[i];
    const auto children = mdi_->subWindowList();
    windowListStart_->setVisible(!children.isEmpty());
    int number = 0;
    for (QMdiSubWindow* sub : children) {
        ++number;
        QString caption = sub->windowTitle();
        caption.replace(u'&', QStringLiteral("&&"));
        QAction* item = windowMenu_->addAction(u'&' + QString::number(number) + u' ' + caption);
        item->setCheckable(true);
        item->setChecked(sub == mdi_->currentSubWindow());
        connect(item, &QAction::triggered, this, [this, target = QPointer(sub)] {
            if (target)
                mdi_->setActiveSubWindow(target);
        });
    }
}

QAction* TfrmMain::action(const char* objectName) const {
    return findChild<QAction*>(QString::fromLatin1(objectName));
}

// --- child window bookkeeping -------------------------------------------

void TfrmMain::EnableCloseAndSave() {
    const bool any = openChildWindows_ != 0;
    action("mnuClose")->setEnabled(any);
    action("mnuSave")->setEnabled(any);
}

void TfrmMain::NoteChildOpened() {
    ++openChildWindows_;
    EnableCloseAndSave();
}

void TfrmMain::NoteChildClosed() {
    --openChildWindows_;
    EnableCloseAndSave();
}

void TfrmMain::NoteLoadWindowOpened() {
    ++openLoadWindows_;
    NoteChildOpened();
}

void TfrmMain::NoteLoadWindowClosed() {
    --openLoadWindows_;
    NoteChildClosed();
}

void TfrmMain::EnableLoadCommands(bool on) {
    if (closing_)
        return;
    for (const char* name : {"mnuPrintLog", "mnuPrintLoadSummary", "mnuPrintFullLoad", "mnuSaveAs"})
        action(name)->setEnabled(on);
}

QMdiSubWindow* TfrmMain::addChild(QWidget* window, ChildKind kind) {
    QMdiSubWindow* sub = mdi_->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    // The frame's own close key would shadow "&Close" (Ctrl+W).
    if (QMenu* frameMenu = sub->systemMenu()) {
        for (QAction* item : frameMenu->actions()) {
            QList<QKeySequence> keys = item->shortcuts();
            if (keys.removeAll(action("mnuClose")->shortcut()) > 0)
                item->setShortcuts(keys);
        }
    }
    kinds_[sub] = kind;
    connect(sub, &QObject::destroyed, this, &TfrmMain::childDestroyed);
    if (kind == ChildKind::Load)
        NoteLoadWindowOpened();
    else
        NoteChildOpened();
    sub->show();
    return sub;
}

void TfrmMain::childDestroyed(QObject* subWindow) {
    const auto found = kinds_.find(subWindow);
    if (found == kinds_.end())
        return;
    const ChildKind kind = found->second;
    kinds_.erase(found);
    if (kind == ChildKind::Load) {
        NoteLoadWindowClosed();
        if (openLoadWindows_ == 0)
            EnableLoadCommands(false);
    } else {
        NoteChildClosed();
    }
    activeChildChanged();
}

QWidget* TfrmMain::activeChild() const {
    QMdiSubWindow* sub = mdi_->currentSubWindow();
    return sub ? sub->widget() : nullptr;
}

bool TfrmMain::activeChildIs(ChildKind kind) const {
    const auto found = kinds_.find(mdi_->currentSubWindow());
    return found != kinds_.end() && found->second == kind;
}

// The load commands follow the active load window, the current master
// report the active maintenance window.
void TfrmMain::activeChildChanged() {
    if (closing_)
        return;
    EnableLoadCommands(activeChildIs(ChildKind::Load));
    action("mnuPrintCurrentMaster")->setEnabled(activeChildIs(ChildKind::Maintenance));
}

void TfrmMain::showSingleWindow(QPointer<QMdiSubWindow>& window, ChildKind kind,
                                const std::function<QWidget*(TfrmMain&)>& factory) {
    if (window) {
        if (window->isMinimized())
            window->showNormal();
        mdi_->setActiveSubWindow(window);
        return;
    }
    if (!factory)
        return;
    QWidget* made = factory(*this);
    if (!made)
        return;
    window = addChild(made, kind);
    // The single windows open at the top left corner of the client area.
    window->move(0, 0);
    mdi_->setActiveSubWindow(window);
}

// --- start-up ------------------------------------------------------------

void TfrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (recoveryDone_)
        return;
    recoveryDone_ = true;
    // After the window is on screen, before the user can give a command.
    QTimer::singleShot(0, this, [this] {
        RunGuarded(prompt(), [this] { RecoverWorkspaces(); });
        RetryMasterOutbox();
    });
}

void TfrmMain::RecoverWorkspaces() {
    const std::string& directory = tables_->directory();
    DirectoryListing listing(directory, prompt());
    std::string name;
    std::vector<std::string> found;
    while (listing.nextMatchingEntry(name, WorkspaceFilePatterns()))
        found.push_back(name);
    listing.close();
    if (found.empty())
        return;
    const PromptAnswer answer =
        prompt().ask(kRecoverQuestion, kRecoverCaption, PromptButtons::YesNoCancel);
    if (answer == PromptAnswer::No) {
        for (const auto& file : found)
            DeleteWorkspaceFile(directory + file);
    } else if (answer == PromptAnswer::Yes) {
        // A table's sidecar names its workspace too: each number once.
        std::set<std::string> headers;
        for (const auto& file : found) {
            if (IsHeaderFileName(file) && headers.insert(HeaderTableName(file)).second)
                OpenRecoveredWorkspace(directory + HeaderTableName(file));
        }
        RemoveCutOffWorkspaces(directory, found);
    }
}

void TfrmMain::OpenRecoveredWorkspace(const std::string& headerPath) {
    const std::string fileName = std::filesystem::path(headerPath).filename().string();
    const int number = WorkspaceNumberFromHeaderName(fileName);
    if (!hooks_.openRecoveredWorkspace)
        return;
    if (QWidget* window = hooks_.openRecoveredWorkspace(*this, number, headerPath))
        addChild(window, ChildKind::Load);
}

void TfrmMain::bringForward() {
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != this) {
        modal->raise();
        modal->activateWindow();
    }
}

// --- master table --------------------------------------------------------

bool TfrmMain::MasterIsEmpty() {
    // every reader of the master asks this first: show what other processes
    // posted meanwhile
    tables_->master().catchUp();
    if (!tables_->masterIsEmpty())
        return false;
    tellMasterIsEmpty();
    return true;
}

// The maintenance window has nothing left to show.
void TfrmMain::tellMasterIsEmpty() {
    prompt().message(kEmptyMasterText, "Master file is empty", PromptIcon::Error);
    if (maintenance_)
        maintenance_->close();
}

Dataset& TfrmMain::defaults() {
    return tables_->defaults();
}

Prompt& TfrmMain::prompt() {
    return *hooks_.prompt;
}

std::string TfrmMain::defaultSawlogs() {
    Dataset& d = tables_->defaults();
    return d.isEmpty() ? std::string() : d.field("SAWLOGS").asString();
}

Dataset& TfrmMain::masterView() {
    if (!masterStores_->onServer())
        return tables_->master();
    // A dataset over the server holds the record ids it read when it
    // opened: each report opens one anew, so loads posted since are in it;
    // an open maintenance window keeps the one it shows.
    if (!serverMaster_ || !maintenance_)
        serverMaster_ =
            OpenServerMasterDataset(std::make_unique<PgMasterStore>(masterStores_->serverUri()));
    return *serverMaster_;
}

void TfrmMain::serverMasterRecordDeleted() {
    if (serverMaster_ && serverMaster_->isEmpty())
        tellMasterIsEmpty();
}

bool TfrmMain::ChosenMasterIsEmpty() {
    if (!masterStores_->onServer())
        return MasterIsEmpty();
    if (masterStores_->store().count() > 0)
        return false;
    tellMasterIsEmpty();
    return true;
}

void TfrmMain::PostLoadToMaster(const HeaderRecord& header, const std::vector<LogRecord>& logs) {
    if (!masterStores_->onServer()) {
        brimlo::PostLoadToMaster(master_, *masterTable_, header, logs);
        return;
    }
    master_.BuildFromLoad(header, logs);
    // The timer's drain waits while a post is under way (and while it tells
    // the user that the server is away).
    const QScopedValueRollback<bool> busy(posting_, true);
    masterStores_->postToServer(master_.ToMasterRecord());
}

void TfrmMain::RetryMasterOutbox() {
    if (closing_ || !masterStores_->onServer() || outboxProbe_.isRunning())
        return;
    int pending = 0;
    RunGuarded(prompt(), [&] { pending = masterStores_->pendingPosts(); });
    if (pending == 0)
        return;
    outboxProbe_.setFuture(QtConcurrent::run([uri = masterStores_->serverUri()] {
        try {
            return MasterStoreProvider::ProbeServer(uri).empty() ? uri : std::string();
        } catch (...) {
            return std::string();
        }
    }));
}

void TfrmMain::DrainMasterOutbox() {
    if (posting_ || closing_ || !masterStores_->onServer())
        return;
    const QScopedValueRollback<bool> busy(posting_, true);
    RunGuarded(prompt(), [this] { masterStores_->drainOutbox(); });
}

// The master named in the user's settings.
void TfrmMain::chooseMaster() {
    masterStores_->choose(ReadMasterDatabaseChoice(*UserSettings()).serverUri());
    if (!maintenance_)
        serverMaster_.reset();
    action("mnuExportMasterDb")->setVisible(masterStores_->onServer());
}

std::string TfrmMain::MasterRecordLabel(int recordNumber, int recordCount) {
    return "Record: " + std::to_string(recordNumber) + " of " + std::to_string(recordCount);
}

// The master table is this window's own, so it keeps the maintenance
// window informed of its moves and tidies up after a deletion.
void TfrmMain::watchMasterTable() {
    Dataset& master = tables_->master();
    master.events.afterScroll = [this] { masterMoved(); };
    master.events.afterDelete = [this] { masterRecordDeleted(); };
}

void TfrmMain::masterMoved() {
    if (!maintenance_)
        return;
    Dataset& master = tables_->master();
    if (ChildWindow* commands = CommandsOf(maintenance_->widget()))
        commands->masterMoved(MasterRecordLabel(master.recNo(), master.recordCount()),
                              activeChildIs(ChildKind::Maintenance));
}

void TfrmMain::masterRecordDeleted() {
    try {
        tables_->master().pack();
    } catch (const std::exception&) {
        // Packing only reclaims space; the deletion itself stands.
    }
    MasterIsEmpty();
}

// --- commands --------------------------------------------------------------

void TfrmMain::mnuNewLoadClick() {
    if (!hooks_.newLoad)
        return;
    if (QWidget* window = hooks_.newLoad(*this))
        mdi_->setActiveSubWindow(addChild(window, ChildKind::Load));
}

std::string TfrmMain::chooseLoadFile() {
    const std::string start = tables_->defaultDataPath();
    if (hooks_.chooseLoadFile)
        return hooks_.chooseLoadFile(*this, start);
    QFileDialog dialog(this, QStringLiteral("Edit Stored Load"), FromCp1252(start),
                       QStringLiteral("Text file (*.txt)"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return HeldFileName(dialog.selectedFiles().constFirst());
}

QMdiSubWindow* TfrmMain::findLoadWindow(const std::string& fileName) const {
    const QString caption = FromCp1252(std::string(kDataEntryCaptionPrefix) + fileName);
    for (QMdiSubWindow* sub : mdi_->subWindowList()) {
        if (sub->windowTitle() == caption)
            return sub;
    }
    return nullptr;
}

void TfrmMain::mnuOpenLoadClick() {
    if (!hooks_.openLoad)
        return;
    const std::string fileName = chooseLoadFile();
    if (fileName.empty())
        return;
    if (QMdiSubWindow* open = findLoadWindow(fileName)) {
        mdi_->setActiveSubWindow(open);
        return;
    }
    if (QWidget* window = hooks_.openLoad(*this, fileName))
        mdi_->setActiveSubWindow(addChild(window, ChildKind::Load));
}

void TfrmMain::mnuPrintMasterSummaryClick() {
    if (!ChosenMasterIsEmpty() && hooks_.printMasterSummary)
        hooks_.printMasterSummary(*this);
}

void TfrmMain::mnuPrintAllMasterClick() {
    if (!ChosenMasterIsEmpty() && hooks_.printMasterReportAll)
        hooks_.printMasterReportAll(*this);
}

void TfrmMain::mnuPrintCurrentMasterClick() {
    if (!ChosenMasterIsEmpty() && hooks_.printMasterReportCurrent)
        hooks_.printMasterReportCurrent(*this);
}

void TfrmMain::mnuPrintLogClick() {
    if (activeChildIs(ChildKind::Load) && hooks_.printLoadLogListing)
        hooks_.printLoadLogListing(*this, activeChild());
}

void TfrmMain::mnuPrintLoadSummaryClick() {
    if (activeChildIs(ChildKind::Load) && hooks_.printLoadSummary)
        hooks_.printLoadSummary(*this, activeChild());
}

void TfrmMain::mnuPrintFullLoadClick() {
    mnuPrintLogClick();
    mnuPrintLoadSummaryClick();
}

void TfrmMain::mnuCompareCheckScaleClick() {
    showSingleWindow(checkScale_, ChildKind::CheckScale, [](TfrmMain& main) {
        return new TfrmCheckScale(FromCp1252(main.tables().defaultDataPath()), main.prompt());
    });
}

void TfrmMain::mnuSaveClick() {
    QWidget* child = activeChild();
    if (!child || activeChildIs(ChildKind::Ranges) || activeChildIs(ChildKind::Shortcuts))
        return;
    if (ChildWindow* commands = CommandsOf(child))
        commands->saveCommand();
    // The load goes to the master table whatever became of its save.
    if (activeChildIs(ChildKind::Load) && hooks_.postLoadToMaster)
        hooks_.postLoadToMaster(*this, child);
}

void TfrmMain::mnuSaveAsClick() {
    if (!activeChildIs(ChildKind::Load))
        return;
    QWidget* child = activeChild();
    if (ChildWindow* commands = CommandsOf(child))
        commands->saveAsCommand();
    if (hooks_.postLoadToMaster)
        hooks_.postLoadToMaster(*this, child);
}

void TfrmMain::mnuCloseClick() {
    CloseActiveChild();
}

// A load window may ask about saving first and may refuse; the window is
// gone, or has refused, when this returns.
void TfrmMain::CloseActiveChild() {
    if (QMdiSubWindow* sub = mdi_->currentSubWindow())
        sub->close();
}

void TfrmMain::mnuExitClick() {
    close();
}

void TfrmMain::mnuMasterMaintenanceClick() {
    if (ChosenMasterIsEmpty())
        return;
    if (!masterStores_->onServer())
        master_.LoadFromMaster(*masterTable_, defaultSawlogs());
    showSingleWindow(maintenance_, ChildKind::Maintenance, hooks_.createMaintenance);
}

void TfrmMain::mnuSystemDefaultsClick() {
    showSingleWindow(defaults_, ChildKind::Defaults, hooks_.createDefaults);
}

void TfrmMain::mnuMasterASCIIClick() {
    if (!ChosenMasterIsEmpty() && hooks_.generateMasterAscii)
        hooks_.generateMasterAscii(*this);
}

void TfrmMain::mnuMasterDatabaseClick() {
    const std::unique_ptr<QSettings> settings = UserSettings();
    TdlgMasterDatabase dialog(this, ReadMasterDatabaseChoice(*settings), prompt());
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The maintenance window shows the master it was opened on.
    const bool changed = dialog.choice().serverUri().value_or("") != masterStores_->serverUri();
    if (changed && maintenance_ && !maintenance_->close())
        return;
    WriteMasterDatabaseChoice(*settings, dialog.choice());
    chooseMaster();
    RetryMasterOutbox();
}

std::string TfrmMain::chooseMasterDbFile() {
    QFileDialog dialog(this, QString::fromLatin1(kExportMasterDbCaption),
                       FromCp1252(tables_->defaultDataPath()),
                       QStringLiteral("Paradox table (*.db)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("db"));
    dialog.selectFile(QStringLiteral("master.db"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return HeldFileName(dialog.selectedFiles().constFirst());
}

// The server's master as a master.db for the programs that read that file.
void TfrmMain::mnuExportMasterDbClick() {
    if (!masterStores_->onServer())
        return;
    // The export needs the server: one that cannot be reached is told
    // before a file is asked for.
    {
        BusyCursor busy;
        masterStores_->store().count();
    }
    const std::string fileName = chooseMasterDbFile();
    if (fileName.empty())
        return;
    // This computer's own master.db is open here and is no copy to replace.
    if (SameFile(LocalFileName(fileName), LocalFileName(tables_->masterPath()))) {
        prompt().message(fileName +
                             " is this computer's own master file. Choose another file name.",
                         kExportMasterDbCaption, PromptIcon::Error);
        return;
    }
    int written = 0;
    {
        BusyCursor busy;
        written = ExportParadoxMaster(masterStores_->store(), LocalFileName(fileName));
    }
    prompt().message(fileName + " holds the " + std::to_string(written) +
                         " records of the master database.",
                     kExportMasterDbCaption, PromptIcon::Information);
}

void TfrmMain::arrangeDone() {
    for (QMdiSubWindow* sub : mdi_->subWindowList()) {
        const auto found = kinds_.find(sub);
        if (found != kinds_.end() && found->second == ChildKind::Load)
            if (ChildWindow* commands = CommandsOf(sub->widget()))
                commands->refitRows();
    }
}

void TfrmMain::mnuTileClick() {
    mdi_->tileSubWindows();
    arrangeDone();
}

void TfrmMain::mnuCascadeClick() {
    mdi_->cascadeSubWindows();
    keepNormalSizes();
    arrangeDone();
}

// Qt's cascade gives every frame the size its content hints at, and windows
// laid out to fixed pixel positions hint at none: they would shrink to a
// title bar. Each placed child gets back its normal size where the cascade
// put it, as far as the client area reaches.
void TfrmMain::keepNormalSizes() {
    const QSize area = mdi_->viewport()->size();
    for (QMdiSubWindow* sub : mdi_->subWindowList()) {
        const QSize normal = NormalChildSize(sub);
        if (!normal.isValid() || sub->isMinimized() || !sub->isVisible())
            continue;
        const QSize room(std::max(area.width() - sub->x(), sub->minimumWidth()),
                         std::max(area.height() - sub->y(), sub->minimumHeight()));
        sub->resize(normal.boundedTo(room));
    }
}

void TfrmMain::mnuKeyboardShortcutsClick() {
    showSingleWindow(shortcuts_, ChildKind::Shortcuts, hooks_.createShortcuts);
}

void TfrmMain::mnuRangesClick() {
    showSingleWindow(ranges_, ChildKind::Ranges, hooks_.createRanges);
}

void TfrmMain::mnuAboutClick() {
    ShowAbout(hooks_.settings, prompt());
}

// --- closing ----------------------------------------------------------------

bool TfrmMain::childrenAgreeToClose() {
    for (QMdiSubWindow* sub : mdi_->subWindowList()) {
        ChildWindow* commands = CommandsOf(sub->widget());
        if (commands && !commands->closeQuery())
            return false;
    }
    return true;
}

// Last to first; a window that still refuses keeps the program running.
bool TfrmMain::CloseAllChildren() {
    const auto children = mdi_->subWindowList();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        if (!(*it)->close())
            return false;
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return true;
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    bool agreed = false;
    RunGuarded(prompt(), [&] { agreed = childrenAgreeToClose() && CloseAllChildren(); });
    if (!agreed) {
        event->ignore();
        return;
    }
    closing_ = true;
    RunGuarded(prompt(), [this] { tables_->close(); });
    event->accept();
}

} // namespace brimlo
