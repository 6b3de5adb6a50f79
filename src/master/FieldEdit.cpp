#include "master/FieldEdit.h"

#include "master/GuardedCommand.h"
#include "master/PolicyKeyPress.h"
#include "rules/NumberFormat.h"
#include "support/Cp1252.h"
#include "support/Dataset.h"

#include <QKeyEvent>

namespace brimlo {

FieldEdit::FieldEdit(QWidget* parent, std::string field, Prompt& prompt, int maxLength)
    : QLineEdit(parent), binding_(std::move(field)), prompt_(prompt) {
    if (maxLength > 0)
        setMaxLength(maxLength);
    connect(this, &QLineEdit::textEdited, this, [this] { typed(); });
}

void FieldEdit::bind(Dataset& dataset, bool assignmentsWin) {
    binding_.assignmentsWin = assignmentsWin;
    const int index = dataset.fieldIndex(fieldName());
    keys.acceptCharactersOf(dataset.fields()[static_cast<size_t>(index)].type);
    binding_.bind(
        dataset, [this] { showField(); }, [this] { commit(); });
}

// Nothing is ever typed into a showing edit, so nothing waits to be written.
void FieldEdit::bindShowing(Dataset& dataset, std::string picture) {
    setReadOnly(true);
    showsOnly_ = true;
    picture_ = std::move(picture);
    binding_.bind(
        dataset, [this] { showField(); }, [] {});
}

void FieldEdit::showField() {
    if (!binding_.bound() || binding_.pending())
        return;
    const QString shown = shownText();
    if (shown != text())
        setText(shown);
    if (showsOnly_)
        setCursorPosition(0);
}

QString FieldEdit::shownText() const {
    if (picture_.empty())
        return FromCp1252(binding_.shownText());
    const Value value = binding_.shownValue();
    return value.isNull() ? QString()
                          : QString::fromStdString(FormatNumber(value.asDouble(), picture_));
}

void FieldEdit::typed() {
    RunGuarded(prompt_, [this] { binding_.changedByScaler(); });
    if (onTyped)
        onTyped();
}

void FieldEdit::keyPressEvent(QKeyEvent* event) {
    PolicyKeyPress(*this, keys, event, [this](QKeyEvent* key) { QLineEdit::keyPressEvent(key); });
}

void FieldEdit::commit() {
    if (!binding_.bound() || isReadOnly() || !pending())
        return;
    binding_.write(ToCp1252(text()));
    showField();
}

} // namespace brimlo
