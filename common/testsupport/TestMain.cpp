// One main for every test executable: an offscreen QApplication, so GUI tests
// can create windows and core tests can pump events, with no display needed.
#include <QApplication>
#include <gtest/gtest.h>

#include "common/core/Operator.h"

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
