#pragma once

#include <QString>

class QGuiApplication;

namespace lumen {

/**
 * Gives every window of the application the program's icon: "sequa",
 * "ledgerly", "transpec", "driftlog" or "hostsim". The drawings are built
 * into the executable; the installed theme icon of the same drawing is
 * preferred when the desktop offers one.
 */
void applyProgramIcon(QGuiApplication &app, const QString &program);

} // namespace lumen
