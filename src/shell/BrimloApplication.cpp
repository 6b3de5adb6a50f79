#include "shell/BrimloApplication.h"

#include "master/GuardedCommand.h"

namespace brimlo {

BrimloApplication::BrimloApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool BrimloApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ShowCurrentException();
        return false;
    }
}

} // namespace brimlo
