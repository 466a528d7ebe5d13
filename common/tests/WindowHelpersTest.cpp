// The Help menu's About box and the remembered window places, on real widgets.
#include "common/gui/HelpMenu.h"
#include "common/gui/WindowPlaces.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
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

} // namespace
