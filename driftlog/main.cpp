#include "common/core/Paths.h"
#include "common/core/Platform.h"
#include "common/gui/HelpMenu.h"
#include "common/gui/ProgramIcon.h"
#include "common/gui/QtOperator.h"
#include "common/gui/WindowPlaces.h"
#include "driftlog/core/DriftlogCommandLine.h"
#include "driftlog/gui/ChartCommand.h"
#include "driftlog/gui/ParseIt.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QStringList>

int main(int argc, char **argv)
{
    lumen::selectPlatformForDisplay();
    const int standard = lumen::handleStandardOptions(
        argc, argv, lumen::driftlog::DriftlogCommandLine::programInfo());
    if (standard >= 0)
        return standard;

    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);

    // Before the command words: a picture named "gain.png" is no GAIN run.
    if (lumen::driftlog::ChartCommand::asked(args)) {
        // The picture is drawn in memory; a display, even when there, is not needed.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        return lumen::driftlog::ChartCommand::run(
            args, lumen::standardOut(), lumen::standardError(), lumen::programDirectory());
    }
    if (lumen::driftlog::DriftlogCommandLine::modeOfArguments(args)) {
        QCoreApplication app(argc, argv);
        return lumen::driftlog::DriftlogCommandLine::run(args, lumen::standardOut(),
                                                         lumen::standardError());
    }
    if (!lumen::hasDisplay()) {
        // Nobody could ever answer a window here; an unattended caller must not hang.
        lumen::standardError() << "Driftlog: no display for the window; give GAIN or KEV for an "
                                  "unattended run, or --chart FILE.png\n";
        lumen::standardError().flush();
        return 2;
    }
    QApplication app(argc, argv);
    lumen::installOperatorForDisplay();
    lumen::applyProgramIcon(app, QStringLiteral("driftlog"));
    lumen::rememberWindowPlaces(app);
    lumen::driftlog::ParseIt window(lumen::programDirectory());
    lumen::addHelpMenu(window, QStringLiteral("Driftlog"),
                       {QStringLiteral("STAB&FILE.DAT"), QStringLiteral("StabLimits.txt")});
    window.show();
    return app.exec();
}
