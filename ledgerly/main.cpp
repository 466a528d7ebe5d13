#include "common/core/Paths.h"
#include "common/core/Platform.h"
#include "common/gui/HelpMenu.h"
#include "common/gui/ProgramIcon.h"
#include "common/gui/QtOperator.h"
#include "common/gui/WindowPlaces.h"
#include "ledgerly/core/ArchiverModel.h"
#include "ledgerly/core/CommandLine.h"
#include "ledgerly/core/DriverNoise.h"
#include "ledgerly/gui/ParseItWindow.h"

#include <QApplication>
#include <QCoreApplication>

int main(int argc, char **argv)
{
    lumen::ledgerly::quietDriverNoise();
    lumen::selectPlatformForDisplay();
    const lumen::ProgramInfo info{
        QStringLiteral("Ledgerly"),
        QStringLiteral(
            "archives analysed samples from the results report into the results database"),
        lumen::ledgerly::CommandLine::helpText()};
    if (const int status = lumen::handleStandardOptions(argc, argv, info); status >= 0)
        return status;

    QStringList words;
    for (int i = 1; i < argc; ++i)
        words << QString::fromLocal8Bit(argv[i]);

    if (lumen::ledgerly::CommandLine::isUnattended(words)) {
        QCoreApplication app(argc, argv);
        return lumen::ledgerly::CommandLine::run(words, lumen::standardOut(),
                                                 lumen::standardError(), lumen::programDirectory());
    }

    if (!lumen::hasDisplay()) {
        // Nobody could ever close the window: a run without a display needs a command word.
        QCoreApplication app(argc, argv);
        lumen::standardError() << "Ledgerly: no display; give APPEND, NET, GROSS, BKG or RESET"
                               << Qt::endl;
        return 1;
    }
    QApplication app(argc, argv);
    lumen::installOperatorForDisplay();
    lumen::applyProgramIcon(app, QStringLiteral("ledgerly"));
    lumen::rememberWindowPlaces(app);
    lumen::ledgerly::ArchiverModel model;
    model.loadSettings(lumen::programDirectory());
    lumen::ledgerly::ParseItWindow window(model, lumen::programDirectory());
    lumen::addHelpMenu(window, QStringLiteral("Ledgerly"),
                       {QStringLiteral("ARC&FILE.DAT"), QStringLiteral("ArcSiz&FILE.DAT")});
    window.show();
    return app.exec();
}
