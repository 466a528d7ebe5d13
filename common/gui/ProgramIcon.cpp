#include "common/gui/ProgramIcon.h"

#include <QGuiApplication>
#include <QIcon>

// The resource lives in a static library: nothing would pull it into the
// executable unless it is registered by name here.
static void registerProgramIcons()
{
    Q_INIT_RESOURCE(ProgramIcons);
}

namespace lumen {

void applyProgramIcon(QGuiApplication &app, const QString &program)
{
    registerProgramIcons();
    const QIcon builtIn(QStringLiteral(":/lumen/icons/") + program + QStringLiteral(".svg"));
    app.setWindowIcon(QIcon::fromTheme(QStringLiteral("lumen-") + program, builtIn));
}

} // namespace lumen
