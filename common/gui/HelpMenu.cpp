#include "common/gui/HelpMenu.h"

#include "common/core/Paths.h"
#include "common/gui/WindowPlaces.h"

#include <QFileInfo>
#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>

namespace lumen {

namespace {

QString fileLine(const QString &path, const QString &purpose)
{
    QString line = QStringLiteral("  ") + path;
    if (!purpose.isEmpty())
        line += QStringLiteral(" (") + purpose + u')';
    if (!QFileInfo::exists(path))
        line += QStringLiteral(", not written yet");
    return line + u'\n';
}

QMenuBar *menuBarOf(QWidget &window)
{
    if (auto *main = qobject_cast<QMainWindow *>(&window))
        return main->menuBar();
    auto *bar = new QMenuBar(&window);
    if (window.layout())
        window.layout()->setMenuBar(bar);
    return bar;
}

} // namespace

QString aboutText(const QString &program, const QStringList &settingsNames)
{
    QString text = program + u' ' + QStringLiteral(LUMEN_VERSION) +
                   QStringLiteral("\nLumen lab suite\n\nProgram directory:\n  ") +
                   programDirectory() + QStringLiteral("\n\nSettings files:\n");
    for (const QString &name : settingsNames)
        text += fileLine(programFile(name), QString());
    text += fileLine(windowPlacesFile(), QStringLiteral("window positions and sizes"));
    const QByteArray root = qgetenv("LUMEN_ROOT");
    text += QStringLiteral("\n$LUMEN_ROOT:\n  ") + lumenRoot() +
            (root.isEmpty() ? QStringLiteral(" (not set: the default)") : QString()) + u'\n';
    return text;
}

void addHelpMenu(QWidget &window, const QString &program, const QStringList &settingsNames)
{
    QMenu *help = menuBarOf(window)->addMenu(QStringLiteral("&Help"));
    QAction *about = help->addAction(QStringLiteral("&About ") + program);
    about->setShortcut(QKeySequence::HelpContents);
    about->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(about, &QAction::triggered, &window, [&window, program, settingsNames] {
        auto *box = new QMessageBox(QMessageBox::Information, QStringLiteral("About ") + program,
                                    aboutText(program, settingsNames), QMessageBox::Ok, &window);
        box->setObjectName(QStringLiteral("aboutBox"));
        box->setTextFormat(Qt::PlainText);
        box->setTextInteractionFlags(Qt::TextSelectableByMouse);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowModality(Qt::NonModal);
        box->show();
    });
}

} // namespace lumen
