#pragma once

#include <QRect>
#include <QString>

class QApplication;
class QObject;

namespace lumen {

/**
 * The file that keeps where each window stood: "lumen-windows.ini" in the
 * program directory, apart from the program's own settings records.
 */
QString windowPlacesFile();

/**
 * From now on, every window of the application (not its dialogs or tool
 * panels) opens where it stood and with the size it had when it was last
 * closed; each kind of window keeps its own place. A window that would open
 * partly off its screen (a place kept on a larger or a lost screen) is moved,
 * and if need be shrunk, onto it. Call once after creating
 * the application. Without a display nothing is kept: an unattended run
 * leaves no file behind.
 */
void rememberWindowPlaces(QApplication &app);
/** `frame` moved, and shrunk where it is larger, into `available`. */
QRect fitOnScreen(const QRect &frame, const QRect &available);

/** The same, kept in `file`, display or not; deleting the returned watcher ends it. */
QObject *rememberWindowPlaces(QApplication &app, const QString &file);

} // namespace lumen
