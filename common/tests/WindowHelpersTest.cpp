// The Help menu's About box and the remembered window places, on real widgets.
#include "common/gui/HelpMenu.h"
#include "common/gui/WindowPlaces.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <memory>

namespace {

QAction *aboutAction(QWidget &window)
{
    for (QAction *action : window.findChildren<QAction *>()) {
        if (action->text() == QStringLiteral("&About Ledgerly"))
            return action;
    }
    return nullptr;
}

TEST(HelpMenu, AboutBoxNamesVersionFoldersAndSettingsFiles)
{
    QTemporaryDir dir;
    qputenv("LUMEN_PROGRAM_DIR", dir.path().toLocal8Bit());
    // A main window gets it in its menu bar, a plain window above its layout.
    QMainWindow main;
    QWidget plain;
    new QVBoxLayout(&plain);
    for (QWidget *window : {static_cast<QWidget *>(&main), &plain}) {
        lumen::addHelpMenu(*window, QStringLiteral("Ledgerly"), {QStringLiteral("ARC&FILE.DAT")});
        QAction *about = aboutAction(*window);
        ASSERT_NE(about, nullptr);
        about->trigger();
        auto *box = window->findChild<QMessageBox *>(QStringLiteral("aboutBox"));
        ASSERT_NE(box, nullptr);
        EXPECT_FALSE(box->isModal());
        const QString text = box->text();
        EXPECT_TRUE(text.startsWith(QStringLiteral("Ledgerly " LUMEN_VERSION "\n")))
            << text.toStdString();
        EXPECT_TRUE(text.contains(dir.filePath(QStringLiteral("ARC&FILE.DAT")) +
                                  QStringLiteral(", not written yet")));
        EXPECT_TRUE(text.contains(dir.filePath(QStringLiteral("lumen-windows.ini"))));
        EXPECT_TRUE(
            text.contains(QStringLiteral("$LUMEN_ROOT:\n  ") + qEnvironmentVariable("LUMEN_ROOT")));
        delete box;
    }
    qunsetenv("LUMEN_PROGRAM_DIR");
}

TEST(WindowPlaces, AWindowReopensWhereItWasClosedAndDialogsAreLeftAlone)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("places.ini"));
    std::unique_ptr<QObject> keeper(lumen::rememberWindowPlaces(*qApp, file));
    const QRect place(70, 80, 420, 310);
    {
        QMainWindow first;
        first.show();
        first.setGeometry(place);
        QMessageBox dialog;
        dialog.show();
        dialog.close();
        first.close();
    }
    QMainWindow second;
    second.resize(200, 100);
    second.show();
    EXPECT_EQ(second.geometry(), place);
    second.close();
    QSettings stored(file, QSettings::IniFormat);
    EXPECT_EQ(stored.allKeys(), QStringList{QStringLiteral("QMainWindow/place")});
}

TEST(WindowPlaces, APlaceOffTheScreenIsBroughtBackOntoIt)
{
    const QRect screen(0, 0, 1280, 770);
    const struct
    {
        QRect frame, fitted;
    } cases[] = {
        {{70, 80, 420, 310}, {70, 80, 420, 310}},      // on the screen: left alone
        {{2000, 900, 420, 310}, {860, 460, 420, 310}}, // kept on a second screen
        {{-300, -40, 420, 310}, {0, 0, 420, 310}},     // half off the top left
        {{100, 100, 1400, 900}, {0, 0, 1280, 770}},    // larger than the screen
    };
    for (const auto &c : cases)
        EXPECT_EQ(lumen::fitOnScreen(c.frame, screen), c.fitted)
            << c.frame.x() << "," << c.frame.y();

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("places.ini"));
    std::unique_ptr<QObject> keeper(lumen::rememberWindowPlaces(*qApp, file));
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    {
        QMainWindow first;
        first.show();
        first.setGeometry(available.right() - 100, available.bottom() - 50, 400, 300);
        first.close();
    }
    QMainWindow second;
    second.show();
    EXPECT_TRUE(available.contains(second.frameGeometry())) << second.x() << "," << second.y();
    second.close();
}

} // namespace
