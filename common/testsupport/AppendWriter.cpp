// A writer process for the test of many appenders at once: appends COUNT
// lines "TAG n ..." to PATH, one append each, through the suite's one text
// append, and ends 0 when every append said it was done.
#include "common/core/Failure.h"
#include "common/core/TextFile.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool ok = false;
    const int count = args.value(3).toInt(&ok);
    if (args.size() != 4 || !ok || count < 0) {
        std::fprintf(stderr, "Usage: append_writer PATH TAG COUNT\n");
        return 2;
    }
    // Long enough lines that a lost race shows as a torn or missing line.
    const QString padding(80, u'.');
    try {
        for (int n = 0; n < count; ++n)
            lumen::textfile::appendLines(
                args[1], {QStringLiteral("%1 %2 %3").arg(args[2]).arg(n).arg(padding)});
    } catch (const lumen::Failure &failure) {
        std::fprintf(stderr, "append_writer: %s\n", qPrintable(failure.description()));
        return 1;
    }
    return 0;
}
