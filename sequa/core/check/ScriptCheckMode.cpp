#include "sequa/core/check/ScriptCheckMode.h"

#include "common/core/Failure.h"
#include "common/core/OutsideFile.h"
#include "sequa/core/check/ScriptCheckReport.h"

namespace lumen::sequa {

int ScriptCheckMode::run(const QStringList &args, QTextStream &out, QTextStream &err)
{
    if (args.size() != 2 || args.value(1).isEmpty()) {
        err << "Usage: Sequa --check SCRIPT.lsf" << Qt::endl;
        return 2;
    }
    const QString name = args[1];
    QByteArray bytes;
    try {
        bytes = outsidefile::read(name, outsidefile::kTextCap);
    } catch (const Failure &failure) {
        err << name << ": error: cannot read the script: " << failure.description() << Qt::endl;
        return 1;
    }

    const ScriptCheckReport report = ScriptCheckReport::ofScript(
        bytes, ScriptCheckPlaces::ofThisInstallation(), ScriptCheckReport::answersGivenAhead(err));
    for (const ScriptFinding &finding : report.findings)
        out << finding.format(name) << '\n';
    out << report.estimate << Qt::endl;
    return report.hasErrors() ? 1 : 0;
}

} // namespace lumen::sequa
