#pragma once

#include "master/FieldEdit.h"

#include <functional>
#include <string>

namespace brimlo {

// The bound edit of a window that edits a record in place (the defaults
// window): a FieldEdit whose typed text is written as soon as the edit is
// left, and where a value assigned from elsewhere wins over text typed but
// not left. Shared with its window is the typing flag: a key press sets it,
// the next change of an advancing edit clears it, so only typed entries
// move the focus on.
class DbEdit : public FieldEdit {
    // The meta-object lets findChildren<DbEdit*> tell these from plain edits.
    Q_OBJECT

public:
    DbEdit(Dataset& dataset, const std::string& field, bool& typing, Prompt& prompt,
           QWidget* parent = nullptr);
    ~DbEdit() override;
    DbEdit(const DbEdit&) = delete;
    DbEdit& operator=(const DbEdit&) = delete;

    // Runs when the focus leaves, after the typed text reached the field;
    // answering false puts the focus back.
    std::function<bool()> onLeave;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void changed();
    void leave();

    bool& typing_;
    bool leaving_ = false;
};

} // namespace brimlo
