// One application object for the tests of this folder: the windows need it
// and the toolkit allows only one per process. The fault tests' private
// mounts are prepared first.
#include "PrivateMounts.h"
#include "common/ScriptedPrompt.h"
#include "shell/BrimloApplication.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

class ApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        // before the toolkit starts any thread: a namespace is per process
        brimlo::crash::EnterPrivateMountNamespace();
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<brimlo::BrimloApplication>(argc_, argv_, prompt_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[16] = "test_crash";
    char* argv_[2] = {name_, nullptr};
    brimlo::testing::InstalledPrompt prompt_;
    std::unique_ptr<brimlo::BrimloApplication> app_;
};

[[maybe_unused]] auto* const environment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

} // namespace
