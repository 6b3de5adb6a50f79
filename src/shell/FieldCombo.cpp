#include "shell/FieldCombo.h"

#include "master/GuardedCommand.h"
#include "master/PolicyKeyPress.h"
#include "support/Cp1252.h"

#include <QApplication>
#include <QKeyEvent>

namespace brimlo {

std::string TrimmedEntry(const std::string& text) {
    const auto end = text.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

FieldCombo::FieldCombo(QWidget* parent, std::string field, Prompt& prompt)
    : QComboBox(parent), binding_(std::move(field)), prompt_(prompt) {
    setEditable(false);
    keys.enterAsTab = false;
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        if (!showing_ && !inPlace_)
            picked();
    });
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (!showing_ && inPlace_ && index >= 0)
            chosen(index);
    });
}

void FieldCombo::setEntries(const std::vector<std::string>& entries) {
    showing_ = true;
    clear();
    for (const std::string& entry : entries)
        addItem(FromCp1252(entry));
    setCurrentIndex(-1);
    showing_ = false;
    if (inPlace_)
        showField();
}

std::vector<std::string> FieldCombo::entries() const {
    std::vector<std::string> list;
    for (int i = 0; i < count(); ++i)
        list.push_back(ToCp1252(itemText(i)));
    return list;
}

void FieldCombo::bind(Dataset& dataset) {
    binding_.bind(
        dataset, [this] { showField(); }, [this] { commit(); });
}

// A choice is written at once, so nothing waits to be written on a post.
void FieldCombo::bindInPlace(Dataset& dataset, bool& typing) {
    inPlace_ = true;
    typing_ = &typing;
    binding_.bind(
        dataset, [this] { showField(); }, [] {});
}

std::string FieldCombo::text() const {
    return ToCp1252(currentText());
}

// A value that is none of the entries shows as an empty list box.
int FieldCombo::entryIndex(const std::string& wanted) const {
    if (inPlace_)
        return findText(FromCp1252(wanted), Qt::MatchExactly);
    const std::string key = TrimmedEntry(wanted);
    for (int i = 0; i < count(); ++i) {
        if (TrimmedEntry(ToCp1252(itemText(i))) == key)
            return i;
    }
    return -1;
}

void FieldCombo::select(const std::string& wanted) {
    const int found = entryIndex(wanted);
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
    PolicyKeyPress(*this, keys, event, [this](QKeyEvent* key) { deliver(key); });
}

// The window's typing flag holds for this key's own change only.
void FieldCombo::deliver(QKeyEvent* event) {
    if (typing_)
        *typing_ = true;
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (inPlace_ || !plain || !searchLetter(event->text()))
        QComboBox::keyPressEvent(event);
    if (typing_)
        *typing_ = false;
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
    if (RunGuarded(prompt_, [this] { binding_.changedByScaler(); }) && onPicked)
        RunGuarded(prompt_, [this] { onPicked(text()); });
}

// A refused choice is dropped and the field's value shown again; an
// accepted one shows what the field's reaction made of it.
void FieldCombo::chosen(int index) {
    const std::string value = ToCp1252(itemText(index));
    if (!RunGuarded(prompt_, [&] { binding_.write(value); }))
        binding_.forget();
    showField();
}

void FieldCombo::commit() {
    if (!binding_.bound() || !pending())
        return;
    binding_.write(TrimmedEntry(text()));
    showField();
}

} // namespace brimlo
