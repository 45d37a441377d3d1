// Entry point of core tests that need a Qt event loop (serial ports, timers) but no
// windows: one QCoreApplication around GoogleTest.
#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
