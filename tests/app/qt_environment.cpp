// One QApplication for the whole suite: widgets need it, and Qt allows only
// one per process.
#include <memory>

#include <QApplication>
#include <gtest/gtest.h>

namespace {

class QtEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "test_app";
        static char* argv[] = {name, nullptr};
        mApplication = std::make_unique<QApplication>(argc, argv);
    }

    void TearDown() override { mApplication.reset(); }

private:
    std::unique_ptr<QApplication> mApplication;
};

[[maybe_unused]] const ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

} // namespace
