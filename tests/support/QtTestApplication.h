#pragma once

// Including this header gives the test program one QApplication, made before the first test and
// gone before the program's static objects are destroyed, on Qt's offscreen platform unless the
// caller chose another.

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace zarvin::test_support {

class QtTestApplication : public testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[16] = "zarvin_qt_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] inline testing::Environment* const kQtTestApplication =
    testing::AddGlobalTestEnvironment(new QtTestApplication);

}  // namespace zarvin::test_support
