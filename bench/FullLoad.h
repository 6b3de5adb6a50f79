#pragma once

#include "common/SilentPrompt.h"
#include "load/LoadDocument.h"
#include "load/WorkspaceCounter.h"
#include "support/Dataset.h"

#include <memory>
#include <string>

namespace brimlo::bench {

// A full load (2400 logs of varied species and sizes, every fourth with a
// cull) in a workspace of its own, in a scratch directory removed at the end.
class FullLoad {
public:
    FullLoad();
    ~FullLoad();
    FullLoad(const FullLoad&) = delete;
    FullLoad& operator=(const FullLoad&) = delete;

    LoadDocument& doc() { return *doc_; }
    const std::string& dir() const { return dir_; }
    LoadEnvironment env();
    void setMethod(const char* method);
    // Saves the load as a load file in the scratch directory; answers its
    // path, or empty when it could not be written.
    std::string writeFile(const std::string& name);

private:
    void writeDefaults();
    void keyLogs();

    std::string dir_;
    WorkspaceCounter counter_;
    testing::SilentPrompt prompts_;
    std::unique_ptr<Dataset> defaults_;
    std::unique_ptr<LoadDocument> doc_;
};

// A scratch directory of its own under the system's temporary directory.
std::string MakeScratchDirectory();

} // namespace brimlo::bench
