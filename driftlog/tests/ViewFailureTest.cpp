#include "common/testsupport/TestSupport.h"
#include "driftlog/core/DriftlogModel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using lumen::driftlog::DriftlogModel;

// The desktop's opener starts, finds no viewer for text files and ends with
// a status: the window must say so instead of doing nothing.
TEST(ViewFailure, AnOpenerThatEndsUnopenedIsSaid)
{
    QTemporaryDir dir;
    const QString opener = dir.filePath("xdg-open");
    ASSERT_TRUE(lumen::test::writeBytes(opener, "#!/bin/sh\nexit 3\n"));
    ASSERT_TRUE(QFile::setPermissions(opener, QFile::ReadOwner | QFile::ExeOwner));
    ASSERT_TRUE(lumen::test::writeBytes(dir.filePath("StabData.txt"), "0                  0\r\n"));

    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(dir.path()));
    DriftlogModel m(dir.path());
    m.startUp();
    QObject window;
    int said = 0;
    m.reportLateViewFailures(&window, [&said] { ++said; });
    const bool started = m.viewLog();
    qputenv("PATH", path);
    ASSERT_TRUE(started) << m.statusText().toStdString();

    QElapsedTimer waited;
    waited.start();
    while (said == 0 && waited.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(said, 1);
    EXPECT_TRUE(m.statusText().startsWith("No program opened ")) << m.statusText().toStdString();
    EXPECT_TRUE(m.statusText().contains("status 3")) << m.statusText().toStdString();
}
