#include "shell/MessageBoxPrompt.h"

#include "support/Cp1252.h"

#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>

namespace brimlo {

namespace {

QMessageBox::Icon BoxIcon(PromptIcon icon) {
    switch (icon) {
    case PromptIcon::Error:
        return QMessageBox::Critical;
    case PromptIcon::Warning:
        return QMessageBox::Warning;
    case PromptIcon::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons BoxButtons(PromptButtons buttons) {
    switch (buttons) {
    case PromptButtons::Ok:
        return QMessageBox::Ok;
    case PromptButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case PromptButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

PromptAnswer Answer(int button) {
    switch (button) {
    case QMessageBox::Yes:
        return PromptAnswer::Yes;
    case QMessageBox::No:
        return PromptAnswer::No;
    case QMessageBox::Ok:
        return PromptAnswer::Ok;
    default:
        return PromptAnswer::Cancel;
    }
}

// The window the box belongs to: the active one, or else the program's
// visible main window (at start-up nothing may be active yet).
QWidget* OwnerWindow() {
    if (QWidget* active = QApplication::activeWindow())
        return active;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->isVisible() && qobject_cast<QMainWindow*>(top))
            return top;
    }
    return nullptr;
}

} // namespace

PromptAnswer MessageBoxPrompt::show(const std::string& text, const std::string& caption,
                                    PromptIcon icon, PromptButtons buttons) {
    const QPointer<QWidget> owner = OwnerWindow();
    QMessageBox box(BoxIcon(icon), FromCp1252(caption), FromCp1252(text), BoxButtons(buttons),
                    owner);
    const int chosen = box.exec();
    // The keyboard goes back to the window the box interrupted.
    if (owner && !QApplication::activeWindow())
        owner->activateWindow();
    // Closing a Yes/No box by its frame answers No, as Esc would.
    if (buttons == PromptButtons::YesNo && chosen != QMessageBox::Yes)
        return PromptAnswer::No;
    return Answer(chosen);
}

} // namespace brimlo
