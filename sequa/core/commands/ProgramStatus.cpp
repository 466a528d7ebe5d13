#include "sequa/core/commands/ProgramStatus.h"

#include <QFileInfo>

namespace lumen::sequa {

namespace {

struct WarningStatus
{
    const char *program;
    int status;
};

constexpr WarningStatus kWarningStatuses[] = {{"Transpec", 3}};

} // namespace

bool ProgramStatus::doneWithWarnings(const QString &commandLine, const ProcessEnd &end)
{
    if (end.how != ProcessEnd::How::Exited || end.ended)
        return false;
    const QString program =
        QFileInfo(ProcessLauncher::splitCommandLine(commandLine).value(0)).completeBaseName();
    for (const WarningStatus &warning : kWarningStatuses) {
        if (end.code == warning.status &&
            program.compare(QLatin1String(warning.program), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool ProgramStatus::failed(const QString &commandLine, const ProcessEnd &end)
{
    return !end.succeeded() && !doneWithWarnings(commandLine, end);
}

QString ProgramStatus::describe(const QString &commandLine, const ProcessEnd &end)
{
    return end.describe() + (doneWithWarnings(commandLine, end)
                                 ? QStringLiteral(" (done with warnings)")
                                 : QString());
}

} // namespace lumen::sequa
