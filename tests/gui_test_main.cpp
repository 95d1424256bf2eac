// SPDX-License-Identifier: GPL-3.0-or-later
// The window tests' own main: one QApplication for every test, on Qt's
// offscreen platform unless told otherwise, so no display is needed.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("offscreen")).toUtf8());
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);  // a test that closes its window must not end the run
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
