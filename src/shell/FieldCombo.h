#pragma once

#include <QComboBox>
#include <functional>
#include <string>
#include <vector>

namespace brimlo {

class Dataset;

// A drop-down list bound to one field, accepting only its entries. Picking
// another entry puts the record into edit state and runs onPicked with the
// entry's text; the field itself is written when the list is left or the
// record is about to be posted.
class FieldCombo : public QComboBox {
public:
    FieldCombo(QWidget* parent, std::string field);
    ~FieldCombo() override;

    void bind(Dataset& dataset);
    void unbind();
    void setEntries(const std::vector<std::string>& entries);
    const std::string& fieldName() const { return field_; }

    std::function<void(const std::string&)> onPicked;

    void commit();
    bool pending() const { return dirty_ || rejected_; }
    void showField();
    // Shows an entry without writing the field (a refused choice put back).
    void showText(const std::string& text);
    std::string text() const;
    void forget();

private:
    void picked();
    void select(const std::string& text);

    std::string field_;
    Dataset* dataset_ = nullptr;
    int listener_ = 0;
    int fieldIndex_ = -1;
    bool dirty_ = false;
    bool rejected_ = false;
    bool showing_ = false;
};

// The entry text as the field stores it: trailing blanks dropped.
std::string TrimmedEntry(const std::string& text);

} // namespace brimlo
