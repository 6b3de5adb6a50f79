#include "shell/DbEdit.h"

#include "master/GuardedCommand.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace brimlo {

DbEdit::DbEdit(Dataset& dataset, const std::string& field, bool& typing, Prompt& prompt,
               QWidget* parent)
    : FieldEdit(parent, field, prompt), typing_(typing) {
    bind(dataset, true);
    connect(this, &QLineEdit::textChanged, this, [this] { changed(); });
}

DbEdit::~DbEdit() = default;

void DbEdit::changed() {
    if (!keys.advance)
        return;
    const bool typed = typing_;
    typing_ = false;
    if (typed && keys.full(text(), maxLength()))
        focusNextChild();
}

// Every key but the one that moves on counts as typing; a character the
// field cannot hold is dropped and changes nothing, so it is none either.
// The flag lasts for the key's own change only: a key that changed nothing
// (an arrow, Home) must not lend it to a later change no key made.
void DbEdit::keyPressEvent(QKeyEvent* event) {
    const KeyPolicy::Verdict verdict = keys.judge(event->key(), event->text()).verdict;
    if (verdict != KeyPolicy::Verdict::MoveOn && verdict != KeyPolicy::Verdict::Drop)
        typing_ = true;
    FieldEdit::keyPressEvent(event);
    typing_ = false;
}

void DbEdit::focusOutEvent(QFocusEvent* event) {
    FieldEdit::focusOutEvent(event);
    const Qt::FocusReason reason = event->reason();
    // Focus taken by another window, or by this one going, is no leaving.
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason || leaving_ ||
        !isVisible() || !alive())
        return;
    leave();
}

// A refused value or a failed check keeps the focus in this edit.
void DbEdit::leave() {
    leaving_ = true;
    bool accepted = RunGuarded(prompt(), [this] { commit(); });
    if (accepted && onLeave)
        accepted = onLeave();
    if (!accepted)
        setFocus(Qt::OtherFocusReason);
    leaving_ = false;
}

} // namespace brimlo
