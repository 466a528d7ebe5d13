#include "common/core/Paths.h"
#include "common/core/Platform.h"
#include "common/gui/HelpMenu.h"
#include "common/gui/ProgramIcon.h"
#include "common/gui/QtOperator.h"
#include "common/gui/WindowPlaces.h"
#include "ledgerly/core/ArchiverModel.h"
#include "ledgerly/core/CommandLine.h"
#include "ledgerly/gui/ParseItWindow.h"

#include <QApplication>
#include <QCoreApplication>

int main(int argc, char **argv)
{
    lumen::selectPlatformForDisplay();
    const lumen::ProgramInfo info{
        QStringLiteral("Ledgerly"),
        QStringLiteral(
            "archives analysed samples from the results report into the results database"),
        QStringLiteral(
            "Usage: Ledgerly [APPEND | NET | GROSS | BKG | RESET]\n"
            "  APPEND       read the report, append its activities, end\n"
            "  NET, GROSS   the same with net or gross counts (also after APPEND)\n"
            "  BKG          the same with background counts (gross - net)\n"
            "  RESET        replace the results database with an empty one, end\n"
            "Without a word the window opens. Paths come from ARC&FILE.DAT beside the program;\n"
            "the database path may also be a server: postgresql://user@host:port/dbname\n"
            "(password from PGPASSWORD or ~/.pgpass).\n"
            "Exit status: 0 done, 2 report not opened, 3 no report, 4 append failed, 5 reset "
            "failed.\n")};
    if (const int status = lumen::handleStandardOptions(argc, argv, info); status >= 0)
        return status;

    QStringList words;
    for (int i = 1; i < argc; ++i)
        words << QString::fromLocal8Bit(argv[i]);

    if (lumen::ledgerly::CommandLine::parse(words).command !=
        lumen::ledgerly::CommandLine::Command::None) {
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
