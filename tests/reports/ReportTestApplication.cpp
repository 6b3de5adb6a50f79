// One application object for the report and command line tests: fonts and
// printers need it, and the toolkit allows only one per process.
#include <QApplication>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct ApplicationEnvironment : ::testing::Environment {
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }
    int argc_ = 1;
    char name_[16] = "brimlo_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] auto* const environment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

} // namespace
