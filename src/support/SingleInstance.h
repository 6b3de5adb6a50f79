#pragma once

#include <functional>
#include <memory>
#include <string>

class QLocalServer;

namespace brimlo {

class DataFolderLock;

// The program's single-instance rule: one copy per data folder. The first
// copy holds the data folder's lock (DataFolderLock) for its whole run and
// listens on a local socket named after the folder; a later copy on the
// same folder finds the lock taken, asks the first copy over the socket to
// come forward (when both share a runtime folder) and reports that another
// copy runs, and where. A lock or socket left by a killed copy is taken
// over, not obeyed.
class SingleInstance {
public:
    // lockName names the socket per user and folder; onRaiseRequest runs in
    // the first copy (on its event loop) each time a later copy asks it
    // forward.
    SingleInstance(const std::string& lockName, const std::string& dataFolder,
                   std::function<void()> onRaiseRequest);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when another copy holds the lock (it has been asked forward).
    bool anotherCopyRuns() const { return another_; }
    // Who holds the folder: "host NAME, process ID".
    const std::string& holder() const { return holder_; }
    // The socket name both copies use.
    const std::string& serverName() const { return serverName_; }

    static constexpr const char* kRaiseMessage = "RAISE\n";

private:
    void listen();
    void askFirstCopyForward();

    std::string serverName_;
    std::function<void()> onRaiseRequest_;
    std::unique_ptr<DataFolderLock> lock_;
    std::unique_ptr<QLocalServer> server_;
    bool another_ = false;
    std::string holder_;
};

// Takes the lock of the data folder; true when another copy of the program
// runs on it already (that copy has been asked to come forward, and holder
// tells who it is). The lock is held until the process ends. onRaiseRequest
// is what this copy does when a later copy asks it forward.
bool CheckSingleInstance(const std::string& lockName, const std::string& dataFolder,
                         std::function<void()> onRaiseRequest, std::string& holder);

} // namespace brimlo
