// The browser tests need a QApplication around every test.
#include <gtest/gtest.h>

#include <QApplication>

#include "BrowserFixture.h"

int main(int argc, char** argv) {
    // CTest lists the tests without the tests' environment: no display is needed for that either.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    qlmib::test::ReleaseBrowserHome();
    return status;
}
