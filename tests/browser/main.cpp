// The browser tests need a QApplication around every test.
#include <gtest/gtest.h>

#include <QApplication>

#include "BrowserFixture.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    qlmib::test::ReleaseBrowserHome();
    return status;
}
