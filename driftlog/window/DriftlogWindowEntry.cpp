// The window half of Driftlog, built as a loadable module that the executable
// carries inside itself. Only a run that shows the window loads it, so the
// command words start without paying for the widget libraries.
#include "common/core/Paths.h"
#include "common/gui/HelpMenu.h"
#include "common/gui/ProgramIcon.h"
#include "common/gui/QtOperator.h"
#include "common/gui/WindowPlaces.h"
#include "driftlog/gui/ParseIt.h"

#include <QApplication>

extern "C" __attribute__((visibility("default"))) int driftlogRunWindow(int argc, char **argv)
{
    static int appArgc = argc; // QApplication keeps a reference to the count
    QApplication app(appArgc, argv);
    lumen::installOperatorForDisplay();
    lumen::applyProgramIcon(app, QStringLiteral("driftlog"));
    lumen::rememberWindowPlaces(app);
    lumen::driftlog::ParseIt window(lumen::programDirectory());
    lumen::addHelpMenu(window, QStringLiteral("Driftlog"), {QStringLiteral("STAB&FILE.DAT")});
    window.show();
    return app.exec();
}
