#pragma once

#include "shell/FieldBinding.h"
#include "support/KeyPolicy.h"

#include <QComboBox>
#include <string>
#include <vector>

namespace brimlo {

// A drop-down list bound to one field of a dataset's current record. It
// accepts only its items; choosing one starts an edit of the record and
// assigns the field at once. Enter moves the focus on; other keys set the
// window's typing flag.
class DbComboBox : public QComboBox {
    Q_OBJECT

public:
    DbComboBox(Dataset& dataset, const std::string& field, bool& typing, QWidget* parent = nullptr);
    ~DbComboBox() override;
    DbComboBox(const DbComboBox&) = delete;
    DbComboBox& operator=(const DbComboBox&) = delete;

    const std::string& fieldName() const { return binding_.fieldName(); }
    // Replaces the items; the field's value stays shown when it is one.
    void setItems(const std::vector<std::string>& items);
    std::vector<std::string> items() const;

    // Enter moves the focus on as Tab does.
    KeyPolicy keys;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showField();
    void chosen(int index);

    FieldBinding binding_;
    bool& typing_;
    bool showing_ = false;
};

} // namespace brimlo
