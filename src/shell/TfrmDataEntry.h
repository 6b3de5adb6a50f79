#pragma once

#include "load/LoadView.h"
#include "shell/ChildWindow.h"
#include "shell/DataEntryKeyMap.h"
#include "shell/LogRowGrid.h"

#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QGridLayout;
class QHBoxLayout;
class QLayout;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QStyle;
class QTabWidget;

namespace brimlo {

class Dataset;
class FieldCombo;
class FieldEdit;
class LoadDocument;
class Prompt;

// What a load window asks of the main window that holds it.
struct DataEntryHost {
    std::function<void()> showShortcuts;       // F1
    std::function<void()> showRanges;          // F3
    std::function<void()> printFullLoadReport; // F5
    std::function<void(bool)> enableLoadCommands;
    // The save dialog; the standard one when left empty.
    std::function<std::optional<std::string>(const std::string& proposal,
                                             const std::string& folder)>
        chooseSaveFile;
    // The go-to-log dialog's answer (number, or nullopt when cancelled);
    // the modal dialog when left empty.
    std::function<std::optional<int>(QWidget* owner, int logCount)> askLogNumber;
};

// The load window: a header page and a log page of one open load. It shows
// the load's workspace through bound controls, moves the focus the way a
// scaler keys a load, and hands every edit to the load's reactions.
class TfrmDataEntry : public QWidget, public ChildWindow, public LoadView {
public:
    // prompt: where the errors of the window's commands are shown (the
    // load's own boxes go to its environment's prompt).
    TfrmDataEntry(DataEntryHost host, Prompt& prompt, QWidget* parent = nullptr);
    ~TfrmDataEntry() override;

    // Takes the load made with this window as its view.
    void attach(std::unique_ptr<LoadDocument> document);
    LoadDocument& document() { return *doc_; }
    bool hasDocument() const { return doc_ != nullptr; }

    // Test and wiring access.
    QWidget* control(LoadControl which) const;
    QWidget* focusedControl() const { return current_; }
    FieldEdit* headerEdit(const std::string& field) const;
    FieldEdit* logEdit(const std::string& field) const;
    FieldCombo* logCombo(const std::string& field) const;
    FieldCombo* headerCombo(const std::string& field) const;
    QTabWidget* pages() const { return pc_; }
    QCheckBox* trimAllowanceBox() const { return chkTrimAllowance_; }
    QLabel* statusLabel() const { return lblCullDisplay_; }
    LogRowGrid* grid() const { return grid_; }
    QLabel* heading(const std::string& field) const;
    QPushButton* appendButton() const { return btnAppend_; }
    bool onLogPage() const;

    // Operations of the window.
    void NextOrAppendLog();
    void ArrangeLogColumns();
    bool CheckHeaderForLogPage();
    void FormShow();
    void FormResize();
    void btnAppendClick();

    // LoadView
    void showStatus(const std::string& text) override;
    void focusControl(LoadControl control, bool selectAll) override;
    void selectText(LoadControl control) override;
    void pressTab(int times) override;
    void setSelectorText(LoadControl control, const std::string& text) override;
    void setTrimAllowanceMode(bool on) override;
    void hideTrimAllowance() override;
    void showHeaderPage() override;
    void setCaption(const std::string& caption) override;
    void setBusy(bool busy) override;
    std::optional<std::string> askSaveFileName(const std::string& proposal,
                                               const std::string& folder) override;

    // ChildWindow
    void saveCommand() override;
    void saveAsCommand() override;
    bool closeQuery() override;
    void refitRows() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildPages();
    void buildHeaderPage(QWidget* page);
    void buildLogPage(QWidget* page);
    void buildLogRow();
    QLayout* buildNavigator();
    QHBoxLayout* headerCell(const char* caption, int line, int column);
    FieldEdit* addHeaderEdit(QHBoxLayout* cell, const char* field, int maxLength, bool upper,
                             int chars);
    FieldEdit* addHeaderEdit(const char* caption, const char* field, int maxLength, bool upper,
                             int line, int column);
    FieldCombo* addHeaderCombo(QHBoxLayout* cell, const char* field);
    FieldEdit* addRowEdit(const char* field, int maxLength);
    FieldCombo* addRowCombo(const char* field);
    void watch(QWidget* control);
    void bindControls();
    void fillSelectors();
    void arrange(bool alberta);
    void placeColumn(QWidget* control, const std::string& field, int left, int width);
    void fitHeadings(const std::vector<LogRowGrid::Column>& columns);
    int statusBand() const;
    QWidget* rowControl(const std::string& field) const;

    bool isRowControl(const QWidget* w) const;
    bool isRowSelector(const QWidget* w) const;
    bool tabStop(QWidget* w) const;
    void tabStep(bool forward);
    bool leaveCurrent();
    void enterControl(QWidget* w);
    bool moveFocus(QWidget* target);
    void focusDirect(QWidget* target, bool selectAll);
    void selectAllIn(QWidget* w);
    void runPendingTabs();
    bool guarded(const std::function<void()>& work);
    void afterTyping(FieldEdit* edit);
    void commitControl(QWidget* w);
    void exitControl(QWidget* w);

    bool OnKeyDown(QWidget* w, QKeyEvent* key);
    KeyPlace placeOf(const QWidget* w) const;
    bool carryOut(QWidget* w, const KeyDecision& decision);
    bool logKey(const KeyDecision& decision, QWidget* target);
    bool windowKey(KeyAction action);
    void tabFrom(QWidget* w);
    void goToPosition(int position);
    void pageKey(bool down);
    void switchPageByF6();
    void goToLogNumber();
    void f9Shift(QWidget* w);
    void saveAndClose();
    void pcDataEntryChange(int index);
    void showPage(int index);
    void logChanged();
    void cbVolumeCalcChange(const std::string& text);

    DataEntryHost host_;
    Prompt& prompt_;
    std::unique_ptr<LoadDocument> doc_;
    // Owned as a child, so it outlives no window and goes before none.
    QStyle* compactStyle_ = nullptr;
    QTabWidget* pc_ = nullptr;
    QWidget* tabHeader_ = nullptr;
    QWidget* tabLog_ = nullptr;
    QGridLayout* headerGrid_ = nullptr;
    QWidget* headingBand_ = nullptr;
    QLabel* lblCullDisplay_ = nullptr;
    QPushButton* btnAppend_ = nullptr;
    LogRowGrid* grid_ = nullptr;
    QWidget* row_ = nullptr;
    QCheckBox* chkTrimAllowance_ = nullptr;
    FieldCombo* cbVolumeCalc_ = nullptr;
    QLabel* lblVolumeCalc_ = nullptr;
    QLineEdit* edtM_ = nullptr;

    std::map<std::string, FieldEdit*> headerEdits_;
    std::map<std::string, FieldCombo*> headerCombos_;
    std::map<std::string, FieldEdit*> rowEdits_;
    std::map<std::string, FieldCombo*> rowCombos_;
    std::map<std::string, QLabel*> headings_;
    std::vector<QWidget*> watched_;

    QWidget* current_ = nullptr;
    QWidget* focusRequest_ = nullptr;
    bool requestSelect_ = false;
    bool leaving_ = false;
    int pendingTabs_ = 0;
    bool switchingPage_ = false;
    int shownPage_ = 0;
    bool shown_ = false;
    bool alberta_ = false;
    Dataset* logData_ = nullptr;
    int logListener_ = 0;
};

} // namespace brimlo
