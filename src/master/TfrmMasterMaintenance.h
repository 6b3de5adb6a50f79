#pragma once

#include "master/RecordNavigator.h"
#include "support/DatasetListener.h"

#include <QWidget>
#include <array>
#include <functional>
#include <string>

class QGridLayout;
class QLabel;
class QLineEdit;
class QScrollArea;
class QToolButton;

namespace brimlo {

class Dataset;
class FieldEdit;
class Prompt;

// What the maintenance window tells the main window.
struct MaintenanceCallbacks {
    // On activation (true) and on deactivation and closing (false): the
    // "Print Master File Report (Current)" command follows.
    std::function<void(bool active)> enableReportCurrent;
    // After a record was deleted; the main window packs the table and
    // closes this window when the table is empty. Left empty when the main
    // window hears of deletions from the table itself.
    std::function<void()> recordDeleted;
    // The window follows the dataset's moves itself (record label, group
    // rows, totals) rather than hearing of them through masterMoved: for a
    // dataset the main window does not watch, as the server's master.
    bool followMoves = false;
};

// Browses the master table one record at a time: the header details, the
// summary groups with their totals and four derived statistics. Nothing
// here can be edited; the navigator moves the main window's master table
// and deletes its records.
class TfrmMasterMaintenance : public QWidget {
public:
    // The window asks and tells the user on prompt.
    TfrmMasterMaintenance(Dataset& master, Prompt& prompt, MaintenanceCallbacks callbacks = {},
                          QWidget* parent = nullptr);
    ~TfrmMasterMaintenance() override;
    TfrmMasterMaintenance(const TfrmMasterMaintenance&) = delete;
    TfrmMasterMaintenance& operator=(const TfrmMasterMaintenance&) = delete;

    // Shows the group rows in use, hides the others, and fills the totals
    // row and the statistics from the current record.
    void RefreshMasterTotals();
    bool refreshPending() const { return refreshPending_; }

    // The master table moved: refresh now when this is the active child,
    // otherwise at the next activation.
    void masterMoved(const std::string& recordLabel, bool active);
    void activated();
    void deactivated();
    // Posts the master record if it is being edited (it never is).
    void save();

    QLabel* recordLabel() const { return lblMasterDisplay_; }
    QToolButton* navButton(const char* objectName) const;
    // The edit of field n's column in group row n (1 to 12).
    FieldEdit* groupEdit(int column, int n) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    QWidget* buildHeader();
    QScrollArea* buildSummary();
    QWidget* buildTotals();
    QWidget* buildStatistics();
    QWidget* buildNavigator();
    FieldEdit* addField(QGridLayout* grid, int column, const char* caption, const char* name,
                        int field);
    QLineEdit* addComputed(QGridLayout* grid, int row, int column, const char* name);
    void watchFrame();

    void navigate(RecordNavigator::Step step);
    void navDelete();
    void move(void (Dataset::*step)());
    void showTotals(int groups);
    void showStatistics(double gross, double length, double net);

    Dataset& master_;
    Prompt& prompt_;
    MaintenanceCallbacks callbacks_;
    bool refreshPending_ = true;
    bool watching_ = false;
    // Per column (SPCDPR, LOGNUMS, LENGTH, GROSSVOL, CULLVOL, NETVOL,
    // CULLPER) the twelve group edits.
    std::array<std::array<FieldEdit*, 12>, 7> groupRows_{};
    QLineEdit* edtTotalLogs_ = nullptr;
    QLineEdit* edtTotalLength_ = nullptr;
    QLineEdit* edtTotalGVol_ = nullptr;
    QLineEdit* edtTotalCVol_ = nullptr;
    QLineEdit* edtTotalNVol_ = nullptr;
    QLineEdit* edtTotalCullPer_ = nullptr;
    QLineEdit* edtTrees_ = nullptr;
    QLineEdit* edtVolperTrees_ = nullptr;
    QLineEdit* edtLogSize_ = nullptr;
    QLineEdit* edtWt_per_Vol_ = nullptr;
    QLabel* lblMasterDisplay_ = nullptr;
    bool active_ = true;
    DatasetListener follower_;
};

} // namespace brimlo
