#include "shell/MessageBoxPrompt.h"

#include "support/Cp1252.h"

#include <QApplication>
#include <QMessageBox>

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

} // namespace

PromptAnswer MessageBoxPrompt::show(const std::string& text, const std::string& caption,
                                    PromptIcon icon, PromptButtons buttons) {
    QMessageBox box(BoxIcon(icon), FromCp1252(caption), FromCp1252(text), BoxButtons(buttons),
                    QApplication::activeWindow());
    const int chosen = box.exec();
    // Closing a Yes/No box by its frame answers No, as Esc would.
    if (buttons == PromptButtons::YesNo && chosen != QMessageBox::Yes)
        return PromptAnswer::No;
    return Answer(chosen);
}

} // namespace brimlo
