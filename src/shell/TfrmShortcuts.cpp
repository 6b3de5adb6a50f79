#include "shell/TfrmShortcuts.h"

#include "shell/ChildPlacement.h"
#include "shell/HelpText.h"

namespace brimlo {

namespace {

struct Shortcut {
    const char* key;
    const char* description;
};

constexpr Shortcut kShortcuts[] = {
    {"ESC", "Cancel changes made to current log record"},
    {"F1", "Function Key Screen"},
    {"F2", "Save & Exit Scale Data"},
    {"F3", "Codes, Values, & Ranges"},
    {"F4", "Next Species"},
    {"F5", "Print Log Report"},
    {"F6", "Switch between Header and Log tabs"},
    {"F7", "Go to Log Number"},
    {"F8", "Cull Entire Log"},
    {"F9", "Shift Cursor (Sp/T/Flag)"},
    {"+", "Next Top Diameter"},
    {"F11", "Next Top Diameter"},
    {"F12", "Next Butt Diameter"},
    {"PGUP", "Previous Page of Log Data"},
    {"PGDN", "Next Page of Log Data"},
    {"HOME", "Go to First Log Record"},
    {"END", "Go to Last Log Record"},
};

} // namespace

TfrmShortcuts::TfrmShortcuts(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Keyboard Shortcuts"));
    resize(630, 405);
    int y = 12;
    for (const Shortcut& shortcut : kShortcuts) {
        HelpLabel(this, QString::fromLatin1(shortcut.key), 16, y, true, 60, Qt::AlignRight);
        HelpLabel(this, QString::fromLatin1(shortcut.description), 96, y);
        y += 20;
    }
}

void TfrmShortcuts::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (placed_)
        return;
    placed_ = true;
    PlaceChildWindow(this, 630, 405);
}

} // namespace brimlo
