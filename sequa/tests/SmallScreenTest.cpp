#include "common/testsupport/SmallScreen.h"
#include "common/gui/WindowPlaces.h"
#include "sequa/gui/IconicStart.h"
#include "sequa/gui/RoiDataWindow.h"
#include "sequa/gui/RxMainWindow.h"
#include "sequa/gui/ScriptCheckWindow.h"
#include "sequa/tests/SequaTestBench.h"

#include <QApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace lumen::sequa::test {
namespace {

class SmallScreen : public SequaTestBench
{
};

TEST_F(SmallScreen, EveryWindowFitsWithItsButtonsInReachAt100And125Percent)
{
    RxMainWindow main(*m_program);
    RoiDataWindow roi;
    ScriptCheckWindow check;
    for (QWidget *window : std::initializer_list<QWidget *>{&main, &roi, &check}) {
        lumen::test::expectFitsSmallScreen(*window);
        // At 125 % every logical pixel takes 1.25 of the screen's.
        const QSize least = window->minimumSizeHint().expandedTo(window->minimumSize()) * 1.25;
        EXPECT_LE(least.width(), lumen::test::kSmallScreenClient.width())
            << window->objectName().toStdString();
        EXPECT_LE(least.height(), lumen::test::kSmallScreenClient.height())
            << window->objectName().toStdString();
    }
}

TEST_F(SmallScreen, AnUnattendedRunsWindowStartsMinimizedAndOnTheScreen)
{
    QTemporaryDir dir;
    std::unique_ptr<QObject> keeper(
        lumen::rememberWindowPlaces(*qApp, dir.filePath(QStringLiteral("places.ini"))));
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    {
        // Last closed half off the screen, on a larger one.
        RxMainWindow before(*m_program);
        before.show();
        before.setGeometry(available.right() - 200, available.bottom() - 100, 900, 600);
        before.close();
    }
    RxMainWindow window(*m_program);
    showIconic(window);
    QApplication::processEvents();
    EXPECT_TRUE(window.isMinimized());
    EXPECT_TRUE(available.contains(window.frameGeometry()))
        << window.x() << "," << window.y() << " " << window.width() << "x" << window.height();
}

} // namespace
} // namespace lumen::sequa::test
