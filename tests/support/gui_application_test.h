#pragma once

#include <QGuiApplication>

#include <gtest/gtest.h>

namespace vimbrel::testing {

// A test suite whose tests need a GUI application, as drawing text does: one
// is made before the suite's first test when none exists, and goes after its
// last, before the leak check at exit, with the font caches it owns.
class GuiApplicationTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        if (QCoreApplication::instance() == nullptr) {
            static int argc = 1;
            static char name[] = "vimbrel_test";
            static char* argv[] = {name, nullptr};
            sApplication = new QGuiApplication(argc, argv);
        }
    }
    static void TearDownTestSuite()
    {
        delete sApplication;
        sApplication = nullptr;
    }

private:
    static inline QGuiApplication* sApplication = nullptr;
};

} // namespace vimbrel::testing
