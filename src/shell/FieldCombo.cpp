#include "shell/FieldCombo.h"

#include "shell/GuardedCommand.h"
#include "support/Cp1252.h"

#include <QApplication>
#include <QKeyEvent>

namespace brimlo {

std::string TrimmedEntry(const std::string& text) {
    const auto end = text.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

FieldCombo::FieldCombo(QWidget* parent, std::string field)
    : QComboBox(parent), binding_(std::move(field)) {
    setEditable(false);
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        if (!showing_)
            picked();
    });
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
    binding_.bind(
        dataset, [this] { showField(); }, [this] { commit(); });
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
    if (!binding_.bound() || binding_.pending())
        return;
    select(binding_.shownText());
}

void FieldCombo::showText(const std::string& text) {
    forget();
    select(text);
}

// Each visit starts a fresh search by typed letters: the letters typed on
// the previous log must not join the ones typed now, however fast they come.
void FieldCombo::focusInEvent(QFocusEvent* event) {
    search_.restart();
    QComboBox::focusInEvent(event);
}

void FieldCombo::keyPressEvent(QKeyEvent* event) {
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (plain && searchLetter(event->text()))
        return;
    QComboBox::keyPressEvent(event);
}

// A printable letter or digit picks the entry it leads to; a blank still
// opens the list, as it does in any list box.
bool FieldCombo::searchLetter(const QString& typed) {
    if (typed.size() != 1 || !typed[0].isPrint() || typed[0].isSpace())
        return false;
    const bool quick =
        lastLetter_.isValid() && lastLetter_.elapsed() <= QApplication::keyboardInputInterval();
    lastLetter_.start();
    std::vector<std::string> entries;
    for (int i = 0; i < count(); ++i)
        entries.push_back(ToCp1252(itemText(i)));
    const int found = search_.find(entries, currentIndex(), ToCp1252(typed).front(), quick);
    if (found >= 0 && found != currentIndex()) {
        setCurrentIndex(found);
        emit activated(found);
    }
    return true;
}

void FieldCombo::picked() {
    if (binding_.changedByScaler() && onPicked)
        RunGuarded([this] { onPicked(text()); });
}

void FieldCombo::commit() {
    if (!binding_.bound() || !pending())
        return;
    binding_.write(TrimmedEntry(text()));
    showField();
}

} // namespace brimlo
