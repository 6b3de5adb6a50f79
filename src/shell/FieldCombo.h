#pragma once

#include "shell/ListSearch.h"
#include "support/FieldBinding.h"
#include "support/KeyPolicy.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <functional>
#include <string>
#include <vector>

namespace brimlo {

class Dataset;
class Prompt;

// A drop-down list bound to one field, accepting only its entries. Bound
// with bind (the load window), picking another entry puts the record into
// edit state and runs onPicked with the entry's text; the field itself is
// written, without trailing blanks, when the list is left or the record is
// about to be posted, and typed letters find entries by ListSearch. Bound
// with bindInPlace (the defaults window, which edits its record in place),
// a chosen entry is written at once as it stands, the field's value shows
// only when it is exactly one of the entries, and the list box finds typed
// letters itself.
class FieldCombo : public QComboBox {
    // The meta-object lets findChildren<FieldCombo*> find the lists.
    Q_OBJECT

public:
    // A choice the field refuses is told on prompt.
    FieldCombo(QWidget* parent, std::string field, Prompt& prompt);

    void bind(Dataset& dataset);
    // typing: the window's typing flag, set by every key the list takes.
    void bindInPlace(Dataset& dataset, bool& typing);
    void unbind() { binding_.unbind(); }
    // Replaces the entries; bound in place, the field's value stays shown
    // when it is one.
    void setEntries(const std::vector<std::string>& entries);
    std::vector<std::string> entries() const;
    const std::string& fieldName() const { return binding_.fieldName(); }

    // Enter as Tab when the window sets it; a list passes Enter on unless so.
    KeyPolicy keys;
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
    void chosen(int index);
    void select(const std::string& text);
    int entryIndex(const std::string& wanted) const;
    void deliver(QKeyEvent* event);

    bool searchLetter(const QString& typed);

    FieldBinding binding_;
    Prompt& prompt_;
    bool showing_ = false;
    bool inPlace_ = false;
    bool* typing_ = nullptr;
    ListSearch search_;
    QElapsedTimer lastLetter_;
};

// The entry text as the field stores it: trailing blanks dropped.
std::string TrimmedEntry(const std::string& text);

} // namespace brimlo
