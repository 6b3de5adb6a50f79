#pragma once

#include "support/DatasetListener.h"

#include <functional>
#include <string>

namespace brimlo {

class Dataset;

// The tie between one field of a dataset and the control showing it. The
// control is told to show the field anew whenever the record, its state or
// the field changes, and to write its text before the record is posted.
// Text the scaler changed, or a value the field's reaction refused, is held
// (pending) until it is written or forgotten, so a refused value stays in
// its control and the record cannot be posted until it passes.
class FieldBinding {
public:
    explicit FieldBinding(std::string field);
    ~FieldBinding();
    FieldBinding(const FieldBinding&) = delete;
    FieldBinding& operator=(const FieldBinding&) = delete;

    void bind(Dataset& dataset, std::function<void()> show, std::function<void()> write);
    void unbind();

    const std::string& fieldName() const { return field_; }
    bool bound() const { return dataset_ != nullptr; }
    // False once the dataset is gone.
    bool alive() const { return listener_.alive(); }
    // A value assigned to the field from elsewhere replaces text typed but
    // not yet written, instead of waiting behind it.
    bool assignmentsWin = false;
    bool pending() const { return changed_ || refused_; }
    void forget();

    // The field's text for the control: empty when there is no record.
    std::string shownText() const;
    // The scaler changed the control: the record goes into edit state at
    // once, as with any bound control, so a move to another record posts it.
    // Answers false when the record refused the edit (the user was told).
    bool changedByScaler();
    // Writes text to the field; raises what the field's reaction raised and
    // then keeps the text pending.
    void write(const std::string& text);

private:
    void listen(int event, int field);

    std::string field_;
    Dataset* dataset_ = nullptr;
    DatasetListener listener_;
    int fieldIndex_ = -1;
    bool changed_ = false;
    bool refused_ = false;
    bool writing_ = false;
    std::function<void()> show_;
    std::function<void()> write_;
};

} // namespace brimlo
