#include "shell/FieldEdit.h"

#include "master/PolicyKeyPress.h"
#include "shell/GuardedCommand.h"
#include "support/Cp1252.h"
#include "support/Dataset.h"

#include <QKeyEvent>

namespace brimlo {

FieldEdit::FieldEdit(QWidget* parent, std::string field, int maxLength)
    : QLineEdit(parent), binding_(std::move(field)) {
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

void FieldEdit::showField() {
    if (!binding_.bound() || binding_.pending())
        return;
    const QString shown = FromCp1252(binding_.shownText());
    if (shown != text())
        setText(shown);
}

void FieldEdit::typed() {
    RunGuarded([this] { binding_.changedByScaler(); });
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
