#include "shell/BrimloApplication.h"

#include "master/GuardedCommand.h"

namespace brimlo {

BrimloApplication::BrimloApplication(int& argc, char** argv, Prompt& prompt)
    : QApplication(argc, argv), prompt_(prompt) {}

bool BrimloApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ShowCurrentException(prompt_);
        return false;
    }
}

} // namespace brimlo
