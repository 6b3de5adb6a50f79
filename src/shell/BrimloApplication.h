#pragma once

#include <QApplication>

namespace brimlo {

// The program's application object. Every event handler runs guarded, so an
// error a window did not catch itself ends up in the "BRIMLO" error box
// instead of crossing the event loop.
class BrimloApplication : public QApplication {
    Q_OBJECT

public:
    BrimloApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace brimlo
