#pragma once

#include "shell/FieldBinding.h"
#include "shell/ListSearch.h"

#include <QComboBox>
#include <QElapsedTimer>
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

    void bind(Dataset& dataset);
    void unbind() { binding_.unbind(); }
    void setEntries(const std::vector<std::string>& entries);
    const std::string& fieldName() const { return binding_.fieldName(); }

    std::function<void(const std::string&)> onPicked;

    void commit();
    bool pending() const { return binding_.pending(); }
    void showField();
    // Shows an entry without writing the field (a refused choice put back).
    void showText(const std::string& text);
    std::string text() const;
    void forget() { binding_.forget(); }

protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void picked();
    void select(const std::string& text);

    bool searchLetter(const QString& typed);

    FieldBinding binding_;
    bool showing_ = false;
    ListSearch search_;
    QElapsedTimer lastLetter_;
};

// The entry text as the field stores it: trailing blanks dropped.
std::string TrimmedEntry(const std::string& text);

} // namespace brimlo
