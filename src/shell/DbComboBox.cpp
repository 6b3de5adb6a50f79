#include "shell/DbComboBox.h"

#include "master/PolicyKeyPress.h"
#include "shell/GuardedCommand.h"
#include "support/Cp1252.h"
#include "support/Dataset.h"

#include <QKeyEvent>

namespace brimlo {

DbComboBox::DbComboBox(Dataset& dataset, const std::string& field, bool& typing, QWidget* parent)
    : QComboBox(parent), binding_(field), typing_(typing) {
    setEditable(false);
    // A choice is written at once, so nothing waits to be written on a post.
    binding_.bind(
        dataset, [this] { showField(); }, [] {});
    connect(this, &QComboBox::activated, this, [this](int index) { chosen(index); });
}

DbComboBox::~DbComboBox() = default;

void DbComboBox::setItems(const std::vector<std::string>& items) {
    showing_ = true;
    clear();
    for (const std::string& item : items)
        addItem(FromCp1252(item));
    showing_ = false;
    showField();
}

std::vector<std::string> DbComboBox::items() const {
    std::vector<std::string> list;
    for (int i = 0; i < count(); ++i)
        list.push_back(ToCp1252(itemText(i)));
    return list;
}

// A value that is none of the items shows as an empty list box.
void DbComboBox::showField() {
    showing_ = true;
    setCurrentIndex(findText(FromCp1252(binding_.shownText()), Qt::MatchExactly));
    showing_ = false;
}

// A refused choice is dropped and the field's value shown again.
void DbComboBox::chosen(int index) {
    if (showing_ || index < 0)
        return;
    const std::string value = ToCp1252(itemText(index));
    if (!RunGuarded([&] { binding_.write(value); })) {
        binding_.forget();
        showField();
    }
}

void DbComboBox::keyPressEvent(QKeyEvent* event) {
    PolicyKeyPress(*this, keys, event, [this](QKeyEvent* key) {
        typing_ = true;
        QComboBox::keyPressEvent(key);
    });
}

} // namespace brimlo
