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
        QStringLiteral(
            "Usage: Ledgerly [APPEND | NET | GROSS | BKG] [--again]\n"
            "       Ledgerly RESET\n"
            "       Ledgerly --export FILE.csv [--long [--all]]\n"
            "       Ledgerly --audit FILE.csv\n"
            "Reads the host's results report and archives it as one record of the results\n"
            "database: the wide table \"SamData\" (one column per nuclide line and mode) and\n"
            "the long tables \"SamRecords\" (one row per report) and \"SamResults\" (one row\n"
            "per value), which take every value \"SamData\" cannot (past its 100 nuclide\n"
            "blocks, 25 rows a block, its column limit or record 32767). \"SamAudit\" keeps\n"
            "who changed what and when (time with UTC offset, user, machine, action,\n"
            "record, column, old and new value) for every append, grid edit and delete,\n"
            "reset, export and superseded record; RESET never empties it.\n"
            "A text is archived only when it has a report's sections (ID:, File: ... Date:,\n"
            "LT: ... DT:, Activities reported as of). Each report (its bytes, SHA-256) is\n"
            "archived once per mode. Record numbers are never given twice.\n"
            "Command words (any letter case, anywhere in the arguments):\n"
            "  APPEND       read the report, append its activities, end\n"
            "  NET, GROSS   the same with net or gross counts (also after APPEND)\n"
            "  BKG          the same with background counts (gross - net)\n"
            "  RESET        replace the results with empty tables (the audit trail stays), end\n"
            "Options (examined before the words, so a path holding NET is never a word):\n"
            "  --again            with APPEND: archive a report that is archived already\n"
            "  --export FILE.csv  write \"SamData\" as CSV (UTF-8, RFC 4180, text fields\n"
            "                     without their fixed-width blanks), end\n"
            "  --long             with --export: one row per \"SamResults\" value with its\n"
            "                     record's fields, current records only\n"
            "  --all              with --export --long: superseded records too\n"
            "  --audit FILE.csv   write \"SamAudit\" as CSV, end\n"
            "Without a word or option the window opens (a display is needed).\n"
            "Paths come from ARC&FILE.DAT in the program directory; the database path may\n"
            "also be a server: postgresql://user@host:port/dbname (password from PGPASSWORD\n"
            "or ~/.pgpass). Messages go to stderr.\n"
            "Environment:\n"
            "  LUMEN_PROGRAM_DIR  the program directory (settings files) instead of the\n"
            "                     executable's folder\n"
            "  LUMEN_ROOT         the Lumen folder for the default paths (default ~/Lumen)\n"
            "  LUMEN_RUN, LUMEN_RUN_PASS, LUMEN_RUN_LINE  set by Sequa for the programs a\n"
            "                     script starts: stored with the record (\"Run\", \"Run\n"
            "                     Pass\", \"Run Line\"); an append of the same run, pass,\n"
            "                     line and mode as an earlier record (a pass played again\n"
            "                     by a resume) supersedes that record\n"
            "Exit status: 0 done (an append the wide table could not take whole is done:\n"
            "the long tables hold it, stderr says what was left out), 1 usage error or no\n"
            "display, 2 report not opened or not a regular file, 3 no report (missing,\n"
            "empty or not a results report; nothing appended) or a report archived with a\n"
            "warning that a peak table holds a line of unknown layout (named on stderr),\n"
            "4 append failed (a full disk says so), 5 reset failed, 6 export failed,\n"
            "7 already archived as record N (nothing appended; --again archives it anew).\n")};
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
