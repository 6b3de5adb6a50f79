#pragma once

#include "shell/ChildWindow.h"
#include "support/DatasetListener.h"

#include <QWidget>
#include <array>
#include <string>
#include <vector>

class QCheckBox;
class QPushButton;
class QTabWidget;
class QVBoxLayout;

namespace brimlo {

class Dataset;
class FieldCombo;
class FolderBrowser;
class Prompt;
class DbEdit;

// The system defaults window: the defaults record's header values, the
// values of every new log, the default cull method of each cull type, the
// trim allowance mode and the data directory. Its controls are bound to the
// record itself, which stays in edit until saved or cancelled.
class TfrmDefaults : public QWidget, public ChildWindow {
public:
    // folders is the run's folder dialog, which remembers the last choice.
    TfrmDefaults(Dataset& defaults, FolderBrowser& folders, Prompt& prompt,
                 QWidget* parent = nullptr);
    ~TfrmDefaults() override;
    TfrmDefaults(const TfrmDefaults&) = delete;
    TfrmDefaults& operator=(const TfrmDefaults&) = delete;

    // Runs the checks in order; the first failure shows its page and edit
    // and leaves the record in edit. Otherwise posts a pending edit.
    bool save();

    void saveCommand() override { save(); }
    // "Save before closing?" while the record has pending changes.
    bool closeQuery() override;

    // The bound edit or list of a field of the defaults record.
    DbEdit* edit(const std::string& field) const;
    FieldCombo* list(const std::string& field) const;
    QTabWidget* pages() const { return pcDefaults_; }
    QCheckBox* trimAllowance() const { return chkTrimAllowance_; }
    QPushButton* browseButton() const { return btnBrowse_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildHeaderPage();
    QWidget* buildLoadPage();
    QWidget* buildHardwarePage();
    void buildHeaderNames(QVBoxLayout* rows);
    void buildHeaderNumbers(QVBoxLayout* rows);
    void buildHeaderCodes(QVBoxLayout* rows);
    QWidget* buildCullMethods();
    DbEdit* makeEdit(const char* name, const char* field, int maxLength, bool upper, bool advance);
    FieldCombo* makeList(const char* name, const char* field);
    void fillLists();
    void endTabChain();
    void focusFirstField(int page);

    void chkTrimAllowanceClick(bool ticked);
    void btnBrowseClick();
    bool leaveDisposition();
    bool leaveSource();
    void volumeMethodMoved();
    bool runChecks();
    void commitTyped();

    Dataset& defaults_;
    FolderBrowser& folders_;
    Prompt& prompt_;
    bool typing_ = false;
    bool placed_ = false;
    DatasetListener listener_;
    std::string volumeMethod_;
    QTabWidget* pcDefaults_ = nullptr;
    QWidget* tabHeader_ = nullptr;
    QWidget* tabLoad_ = nullptr;
    QWidget* tabHardware_ = nullptr;
    QCheckBox* chkTrimAllowance_ = nullptr;
    QPushButton* btnBrowse_ = nullptr;
    std::array<FieldCombo*, 7> cbCullMethods_{};
    // Each page's controls in tab order.
    std::vector<QWidget*> chain_;
    std::vector<std::vector<QWidget*>> chains_;
};

} // namespace brimlo
