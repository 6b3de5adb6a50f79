#include "shell/FieldBinding.h"

#include "shell/GuardedCommand.h"
#include "support/Dataset.h"

namespace brimlo {

FieldBinding::FieldBinding(std::string field) : field_(std::move(field)) {}

FieldBinding::~FieldBinding() {
    unbind();
}

void FieldBinding::bind(Dataset& dataset, std::function<void()> show, std::function<void()> write) {
    unbind();
    dataset_ = &dataset;
    fieldIndex_ = dataset.fieldIndex(field_);
    show_ = std::move(show);
    write_ = std::move(write);
    listener_.attach(
        dataset, [this](DataEvent event, int field) { listen(static_cast<int>(event), field); });
    show_();
}

void FieldBinding::unbind() {
    listener_.detach();
    dataset_ = nullptr;
}

void FieldBinding::listen(int event, int field) {
    switch (static_cast<DataEvent>(event)) {
    case DataEvent::DataSetChange:
        forget();
        show_();
        break;
    case DataEvent::StateChange:
        show_();
        break;
    case DataEvent::FieldChange:
        if (assignmentsWin && field == fieldIndex_ && !writing_)
            forget();
        if (field == fieldIndex_ || field < 0)
            show_();
        break;
    case DataEvent::UpdateRecord:
        if (pending())
            write_();
        break;
    }
}

void FieldBinding::forget() {
    changed_ = false;
    refused_ = false;
}

std::string FieldBinding::shownText() const {
    const bool hasRecord = dataset_->isOpen() && (!dataset_->isEmpty() || dataset_->isEditing());
    return hasRecord ? dataset_->field(fieldIndex_).asString() : std::string();
}

bool FieldBinding::changedByScaler() {
    changed_ = true;
    return RunGuarded([this] {
        if (dataset_ && dataset_->isOpen() && !dataset_->isEditing() && !dataset_->isEmpty())
            dataset_->edit();
    });
}

void FieldBinding::write(const std::string& text) {
    if (!dataset_->isEditing())
        dataset_->edit();
    changed_ = false;
    refused_ = true;
    writing_ = true;
    try {
        dataset_->setField(fieldIndex_, text.empty() ? Value() : Value(text));
    } catch (...) {
        writing_ = false;
        throw;
    }
    writing_ = false;
    refused_ = false;
}

} // namespace brimlo
