#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace lumen {

/**
 * What the About box of a program says: its name and version, the program
 * directory, each settings file in use (`settingsNames` are names in the
 * program directory) with the window-place file, and where $LUMEN_ROOT lies.
 */
QString aboutText(const QString &program, const QStringList &settingsNames);

/**
 * Adds a Help menu with "About PROGRAM" (also on F1) to a window: to its menu
 * bar when it is a main window, else above its layout. The box is not modal,
 * so it never stands in the way of a running script.
 */
void addHelpMenu(QWidget &window, const QString &program, const QStringList &settingsNames = {});

} // namespace lumen
