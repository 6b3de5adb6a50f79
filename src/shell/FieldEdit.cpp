#include "shell/FieldEdit.h"

#include "shell/GuardedCommand.h"
#include "support/Cp1252.h"
#include "support/Dataset.h"

namespace brimlo {

FieldEdit::FieldEdit(QWidget* parent, std::string field, int maxLength)
    : QLineEdit(parent), field_(std::move(field)) {
    if (maxLength > 0)
        setMaxLength(maxLength);
    connect(this, &QLineEdit::textEdited, this, [this] { typed(); });
}

FieldEdit::~FieldEdit() {
    unbind();
}

void FieldEdit::bind(Dataset& dataset) {
    unbind();
    dataset_ = &dataset;
    fieldIndex_ = dataset.fieldIndex(field_);
    listener_ = dataset.addListener(
        [this](DataEvent event, int field) { listen(static_cast<int>(event), field); });
    showField();
}

void FieldEdit::unbind() {
    if (dataset_ && listener_)
        dataset_->removeListener(listener_);
    dataset_ = nullptr;
    listener_ = 0;
}

void FieldEdit::listen(int event, int field) {
    switch (static_cast<DataEvent>(event)) {
    case DataEvent::DataSetChange:
        forget();
        showField();
        break;
    case DataEvent::StateChange:
        showField();
        break;
    case DataEvent::FieldChange:
        if (field == fieldIndex_ || field < 0)
            showField();
        break;
    case DataEvent::UpdateRecord:
        if (pending())
            commit();
        break;
    }
}

void FieldEdit::forget() {
    dirty_ = false;
    rejected_ = false;
}

void FieldEdit::showField() {
    if (!dataset_ || dirty_ || rejected_)
        return;
    const QString shown = dataset_->isOpen() && (!dataset_->isEmpty() || dataset_->isEditing())
                              ? FromCp1252(dataset_->field(fieldIndex_).asString())
                              : QString();
    if (shown != text())
        setText(shown);
}

// Typing puts the record into edit state at once, as a bound edit does, so
// a move to another record posts what was typed.
void FieldEdit::typed() {
    dirty_ = true;
    RunGuarded([this] {
        if (dataset_ && dataset_->isOpen() && !dataset_->isEditing() && !dataset_->isEmpty())
            dataset_->edit();
    });
    if (onTyped)
        onTyped();
}

void FieldEdit::commit() {
    if (!dataset_ || isReadOnly() || !pending())
        return;
    if (!dataset_->isEditing())
        dataset_->edit();
    const std::string value = ToCp1252(text());
    dirty_ = false;
    rejected_ = true;
    dataset_->setField(fieldIndex_, value.empty() ? Value() : Value(value));
    rejected_ = false;
    showField();
}

} // namespace brimlo
