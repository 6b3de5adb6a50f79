#include "BenchApplication.h"

#include <QApplication>

namespace brimlo::bench {

QApplication& BenchApplication() {
    static int argc = 1;
    static char name[] = "brimlo_bench";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *app;
}

} // namespace brimlo::bench
