#pragma once

#include "support/DatasetListener.h"
#include "support/KeyPolicy.h"

#include <QLineEdit>
#include <functional>
#include <string>

namespace brimlo {

// An edit bound straight to one field of a dataset's current record. Typing
// starts an edit of the record; the typed text reaches the field when the
// edit is left or the record is about to be posted. Shared with its window
// is the typing flag: a key press sets it, the next change reaction of an
// advancing edit clears it, so only typed entries move the focus on.
class DbEdit : public QLineEdit {
    // The meta-object lets findChildren<DbEdit*> tell these from plain edits.
    Q_OBJECT

public:
    DbEdit(Dataset& dataset, const std::string& field, bool& typing, QWidget* parent = nullptr);
    ~DbEdit() override;
    DbEdit(const DbEdit&) = delete;
    DbEdit& operator=(const DbEdit&) = delete;

    const std::string& fieldName() const { return field_; }

    // Enter as Tab, capitals, moving on when full, as the window sets them.
    KeyPolicy keys;
    // Runs when the focus leaves, after the typed text reached the field;
    // answering false puts the focus back.
    std::function<bool()> onLeave;

    // Writes typed text to the field; raises what the field refuses.
    void commit();
    bool pending() const { return dirty_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void listen(int event, int field);
    void showField();
    void edited();
    void changed();
    void leave();

    Dataset& dataset_;
    std::string field_;
    int index_ = -1;
    bool& typing_;
    DatasetListener listener_;
    bool dirty_ = false;
    bool leaving_ = false;
};

} // namespace brimlo
