#pragma once

#include "load/HeaderRecord.h"
#include "load/LogRecord.h"
#include "master/CMaster.h"
#include "shell/ChildWindow.h"
#include "shell/MainWindowHooks.h"

#include <QFutureWatcher>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;

namespace brimlo {

class Dataset;
class MainTables;
class MasterStoreProvider;
class MasterTable;

// The program's frame: a multiple-document window whose menu bar reaches
// every function. It owns the defaults and master tables for the run, keeps
// the books of its child windows and routes New, Open, Save, Save As,
// Close and Exit to them.
class TfrmMain : public QMainWindow {
    Q_OBJECT

public:
    // Opens or creates defaults.db and master.db in the application data
    // directory. Raises BrimloError when either cannot be opened.
    // hooks.prompt is required.
    explicit TfrmMain(MainWindowHooks hooks, QWidget* parent = nullptr);
    ~TfrmMain() override;

    MainWindowHooks& hooks() { return hooks_; }
    // Where the main window and the windows it makes talk to the user.
    Prompt& prompt();
    MainTables& tables() { return *tables_; }
    // The defaults record's table (its one record current) and the master
    // table with the run's master record object.
    Dataset& defaults();
    MasterTable& masterTable() { return *masterTable_; }
    CMaster& masterRecord() { return master_; }
    // The master chosen in "Master Database...": master.db or a server.
    // Windows that read the master take its store().
    MasterStoreProvider& masterStores() { return *masterStores_; }
    // The master the maintenance window and the master reports read: the
    // table's dataset, or one paging through the server's master.
    Dataset& masterView();
    // After the maintenance window deleted a record of the server's master:
    // as after a deletion in master.db, an emptied master closes the window.
    void serverMasterRecordDeleted();
    QMdiArea& clientArea() { return *mdi_; }

    // Child window bookkeeping.
    int openLoadWindows() const { return openLoadWindows_; }
    int openChildWindows() const { return openChildWindows_; }
    void NoteLoadWindowOpened();
    void NoteLoadWindowClosed();
    void NoteChildOpened();
    void NoteChildClosed();
    void EnableCloseAndSave();
    void EnableLoadCommands(bool on);

    // Places a window made elsewhere in the client area and keeps its books
    // until it is destroyed.
    QMdiSubWindow* addChild(QWidget* window, ChildKind kind);
    // The active child's widget and kind; nullptr when there is none.
    QWidget* activeChild() const;
    bool activeChildIs(ChildKind kind) const;

    // True, after telling the user, when master.db holds no record.
    bool MasterIsEmpty();
    // Builds the master record from a saved load and writes it to the master
    // table, which keeps its place; or posts it to the chosen server, where
    // it waits in the outbox while the server cannot be reached.
    void PostLoadToMaster(const HeaderRecord& header, const std::vector<LogRecord>& logs);
    // The maintenance window's record label: "Record: 3 of 17".
    static std::string MasterRecordLabel(int recordNumber, int recordCount);
    // Looks for workspaces left by an earlier run and offers them.
    void RecoverWorkspaces();
    // Restores, raises and activates the window and its open modal dialog
    // (another copy of the program asked for it).
    void bringForward();

    QAction* action(const char* objectName) const;

    // The menu commands.
    void mnuNewLoadClick();
    void mnuOpenLoadClick();
    void mnuPrintMasterSummaryClick();
    void mnuPrintAllMasterClick();
    void mnuPrintCurrentMasterClick();
    void mnuPrintLogClick();
    void mnuPrintLoadSummaryClick();
    void mnuPrintFullLoadClick();
    void mnuCompareCheckScaleClick();
    void mnuSaveClick();
    void mnuSaveAsClick();
    void mnuCloseClick();
    void mnuExitClick();
    void mnuMasterMaintenanceClick();
    void mnuSystemDefaultsClick();
    void mnuMasterASCIIClick();
    void mnuMasterDatabaseClick();
    void mnuExportMasterDbClick();
    // Tries the posts kept for the server again (at start, on a timer and
    // when a master is chosen), once the server has answered a worker
    // thread: one that does not answer holds a connection up to its
    // timeout, and the scaler keys on meanwhile.
    void RetryMasterOutbox();

    // How often posts kept while the server could not be reached are tried
    // again.
    static constexpr int kOutboxRetryMs = 60'000;
    void mnuTileClick();
    void mnuCascadeClick();
    void mnuKeyboardShortcutsClick();
    void mnuRangesClick();
    void mnuAboutClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildFileMenu();
    void buildEditMenu();
    void buildWindowMenu();
    void buildHelpMenu();
    QAction* addCommand(QMenu* menu, const char* objectName, const char* caption,
                        void (TfrmMain::*command)(), const QKeySequence& shortcut = {});
    void fillWindowList();
    void activeChildChanged();
    void childDestroyed(QObject* subWindow);
    void showSingleWindow(QPointer<QMdiSubWindow>& window, ChildKind kind,
                          const std::function<QWidget*(TfrmMain&)>& factory);
    void OpenRecoveredWorkspace(const std::string& headerPath);
    void arrangeDone();
    void keepNormalSizes();
    void watchMasterTable();
    void masterMoved();
    void masterRecordDeleted();
    std::string defaultSawlogs();
    bool childrenAgreeToClose();
    bool CloseAllChildren();
    void CloseActiveChild();
    QMdiSubWindow* findLoadWindow(const std::string& fileName) const;
    std::string chooseLoadFile();
    std::string chooseMasterDbFile();
    void chooseMaster();
    // The chosen master holds no record (the user has been told).
    bool ChosenMasterIsEmpty();
    void tellMasterIsEmpty();
    void DrainMasterOutbox();

    MainWindowHooks hooks_;
    CMaster master_;
    std::unique_ptr<MainTables> tables_;
    std::unique_ptr<MasterTable> masterTable_;
    std::unique_ptr<MasterStoreProvider> masterStores_;
    std::unique_ptr<Dataset> serverMaster_;
    QTimer* outboxTimer_ = nullptr;
    // The server that answered the last probe; empty when it did not.
    QFutureWatcher<std::string> outboxProbe_;
    bool posting_ = false;
    QMdiArea* mdi_ = nullptr;
    QMenu* windowMenu_ = nullptr;
    QAction* windowListStart_ = nullptr;
    std::map<const QObject*, ChildKind> kinds_;
    QPointer<QMdiSubWindow> maintenance_;
    QPointer<QMdiSubWindow> defaults_;
    QPointer<QMdiSubWindow> ranges_;
    QPointer<QMdiSubWindow> shortcuts_;
    QPointer<QMdiSubWindow> checkScale_;
    int openLoadWindows_ = 0;
    int openChildWindows_ = 0;
    bool recoveryDone_ = false;
    bool closing_ = false;
};

} // namespace brimlo
