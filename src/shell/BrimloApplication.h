#pragma once

#include <QApplication>

namespace brimlo {

class Prompt;

// The program's application object. Every event handler runs guarded, so an
// error a window did not catch itself ends up in the "BRIMLO" error box of
// the run's prompt instead of crossing the event loop.
class BrimloApplication : public QApplication {
    Q_OBJECT

public:
    // The prompt must outlive the application object.
    BrimloApplication(int& argc, char** argv, Prompt& prompt);

    bool notify(QObject* receiver, QEvent* event) override;

private:
    Prompt& prompt_;
};

} // namespace brimlo
