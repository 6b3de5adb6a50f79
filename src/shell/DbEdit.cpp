#include "shell/DbEdit.h"

#include "master/PolicyKeyPress.h"
#include "shell/GuardedCommand.h"
#include "support/Cp1252.h"
#include "support/Dataset.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace brimlo {

DbEdit::DbEdit(Dataset& dataset, const std::string& field, bool& typing, QWidget* parent)
    : QLineEdit(parent), dataset_(dataset), field_(field), index_(dataset.fieldIndex(field)),
      typing_(typing) {
    keys.acceptCharactersOf(dataset.fields()[static_cast<size_t>(index_)].type);
    listener_.attach(
        dataset_, [this](DataEvent event, int index) { listen(static_cast<int>(event), index); });
    connect(this, &QLineEdit::textEdited, this, [this] { edited(); });
    connect(this, &QLineEdit::textChanged, this, [this] { changed(); });
    showField();
}

DbEdit::~DbEdit() = default;

void DbEdit::listen(int event, int field) {
    switch (static_cast<DataEvent>(event)) {
    case DataEvent::DataSetChange:
        dirty_ = false;
        showField();
        break;
    case DataEvent::FieldChange:
        // An assignment from elsewhere wins over text typed but not left.
        if (field == index_) {
            dirty_ = false;
            showField();
        }
        break;
    case DataEvent::UpdateRecord:
        commit();
        break;
    case DataEvent::StateChange:
        break;
    }
}

void DbEdit::showField() {
    setText(FromCp1252(dataset_.field(index_).asString()));
}

// The first typed change starts an edit of the record, as typing into any
// bound control does; the text survives a record that had to be inserted.
void DbEdit::edited() {
    if (!dataset_.isEditing()) {
        const QString typed = text();
        const int cursor = cursorPosition();
        dataset_.edit();
        if (text() != typed) {
            setText(typed);
            setCursorPosition(cursor);
        }
    }
    dirty_ = true;
}

void DbEdit::changed() {
    if (!keys.advance)
        return;
    const bool typed = typing_;
    typing_ = false;
    if (typed && keys.full(text(), maxLength()))
        focusNextChild();
}

void DbEdit::commit() {
    if (!dirty_)
        return;
    if (!dataset_.isEditing())
        dataset_.edit();
    dirty_ = false;
    try {
        dataset_.setField(index_, Value(ToCp1252(text())));
    } catch (...) {
        dirty_ = true;
        throw;
    }
}

void DbEdit::keyPressEvent(QKeyEvent* event) {
    PolicyKeyPress(*this, keys, event, [this](QKeyEvent* key) {
        typing_ = true;
        QLineEdit::keyPressEvent(key);
    });
}

void DbEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    const Qt::FocusReason reason = event->reason();
    // Focus taken by another window, or by this one going, is no leaving.
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason || leaving_ ||
        !isVisible() || !listener_.alive())
        return;
    leave();
}

// A refused value or a failed check keeps the focus in this edit.
void DbEdit::leave() {
    leaving_ = true;
    bool accepted = RunGuarded([this] { commit(); });
    if (accepted && onLeave)
        accepted = onLeave();
    if (!accepted)
        setFocus(Qt::OtherFocusReason);
    leaving_ = false;
}

} // namespace brimlo
