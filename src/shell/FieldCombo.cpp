#include "shell/FieldCombo.h"

#include "shell/GuardedCommand.h"
#include "support/Cp1252.h"
#include "support/Dataset.h"

namespace brimlo {

std::string TrimmedEntry(const std::string& text) {
    const auto end = text.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

FieldCombo::FieldCombo(QWidget* parent, std::string field)
    : QComboBox(parent), field_(std::move(field)) {
    setEditable(false);
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        if (!showing_)
            picked();
    });
}

FieldCombo::~FieldCombo() {
    unbind();
}

void FieldCombo::setEntries(const std::vector<std::string>& entries) {
    showing_ = true;
    clear();
    for (const std::string& entry : entries)
        addItem(FromCp1252(entry));
    setCurrentIndex(-1);
    showing_ = false;
}

void FieldCombo::bind(Dataset& dataset) {
    unbind();
    dataset_ = &dataset;
    fieldIndex_ = dataset.fieldIndex(field_);
    listener_ = dataset.addListener([this](DataEvent event, int field) {
        switch (event) {
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
    });
    showField();
}

void FieldCombo::unbind() {
    if (dataset_ && listener_)
        dataset_->removeListener(listener_);
    dataset_ = nullptr;
    listener_ = 0;
}

void FieldCombo::forget() {
    dirty_ = false;
    rejected_ = false;
}

std::string FieldCombo::text() const {
    return ToCp1252(currentText());
}

void FieldCombo::select(const std::string& wanted) {
    const std::string key = TrimmedEntry(wanted);
    int found = -1;
    for (int i = 0; i < count() && found < 0; ++i) {
        if (TrimmedEntry(ToCp1252(itemText(i))) == key)
            found = i;
    }
    showing_ = true;
    setCurrentIndex(found);
    showing_ = false;
}

void FieldCombo::showField() {
    if (!dataset_ || dirty_ || rejected_)
        return;
    const bool hasRecord = dataset_->isOpen() && (!dataset_->isEmpty() || dataset_->isEditing());
    select(hasRecord ? dataset_->field(fieldIndex_).asString() : std::string());
}

void FieldCombo::showText(const std::string& text) {
    forget();
    select(text);
}

void FieldCombo::picked() {
    dirty_ = true;
    RunGuarded([this] {
        if (dataset_ && dataset_->isOpen() && !dataset_->isEditing() && !dataset_->isEmpty())
            dataset_->edit();
        if (onPicked)
            onPicked(text());
    });
}

void FieldCombo::commit() {
    if (!dataset_ || !pending())
        return;
    if (!dataset_->isEditing())
        dataset_->edit();
    const std::string value = TrimmedEntry(text());
    dirty_ = false;
    rejected_ = true;
    dataset_->setField(fieldIndex_, value.empty() ? Value() : Value(value));
    rejected_ = false;
    showField();
}

} // namespace brimlo
