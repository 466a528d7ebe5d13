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
            "       Ledgerly --export FILE.csv [--long]\n"
            "Reads the host's results report and archives it as one record of the results\n"
            "database: the wide table \"SamData\" (one column per nuclide line and mode) and\n"
            "the long tables \"SamRecords\" (one row per report) and \"SamResults\" (one row\n"
            "per value), which take every value \"SamData\" cannot.\n"
            "Command words (any letter case, anywhere in the arguments):\n"
            "  APPEND       read the report, append its activities, end\n"
            "  NET, GROSS   the same with net or gross counts (also after APPEND)\n"
            "  BKG          the same with background counts (gross - net)\n"
            "  RESET        replace the results database with an empty one, end\n"
            "Options (examined before the words, so a path holding NET is never a word):\n"
            "  --export FILE.csv  write \"SamData\" as CSV (UTF-8, RFC 4180), end\n"
            "  --long             with --export: one row per \"SamResults\" value with its\n"
            "                     record's fields\n"
            "Without a word or option the window opens (a display is needed).\n"
            "Paths come from ARC&FILE.DAT in the program directory; the database path may\n"
            "also be a server: postgresql://user@host:port/dbname (password from PGPASSWORD\n"
            "or ~/.pgpass). Messages go to stderr.\n"
            "Environment:\n"
            "  LUMEN_PROGRAM_DIR  the program directory (settings files) instead of the\n"
            "                     executable's folder\n"
            "  LUMEN_ROOT         the Lumen folder for the default paths (default ~/Lumen)\n"
            "Exit status: 0 done (an append the wide table could not take whole is done:\n"
            "the long tables hold it, stderr says what was left out), 1 usage error or no\n"
            "display, 2 report not opened or not a regular file, 3 no report (missing,\n"
            "empty or not a results report), 4 append failed, 5 reset failed, 6 export\n"
            "failed.\n")};
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
