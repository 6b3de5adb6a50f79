#pragma once

#include <functional>
#include <memory>
#include <string>

class QLocalServer;
class QLockFile;

namespace brimlo {

// The program's single-instance rule. The first copy holds a lock file for
// its whole run and listens on a local socket; a later copy finds the lock
// taken, asks the first copy over the socket to come forward and reports
// that another copy runs. A lock or socket left by a killed copy is taken
// over, not obeyed.
class SingleInstance {
public:
    // lockName names the lock per user; onRaiseRequest runs in the first
    // copy (on its event loop) each time a later copy asks it forward.
    SingleInstance(const std::string& lockName, std::function<void()> onRaiseRequest);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when another copy holds the lock (it has been asked forward).
    bool anotherCopyRuns() const { return another_; }
    // The socket name both copies use.
    const std::string& serverName() const { return serverName_; }

    static constexpr const char* kRaiseMessage = "RAISE\n";

private:
    void listen();
    void askFirstCopyForward();

    std::string serverName_;
    std::function<void()> onRaiseRequest_;
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<QLocalServer> server_;
    bool another_ = false;
};

// Takes the process-wide lock named lockName; true when another copy of the
// program runs already (that copy has been asked to come forward). The lock
// is held until the process ends. onRaiseRequest is what this copy does
// when a later copy asks it forward.
bool CheckSingleInstance(const std::string& lockName, std::function<void()> onRaiseRequest);

} // namespace brimlo
