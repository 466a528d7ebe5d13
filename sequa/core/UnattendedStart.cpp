#include "sequa/core/UnattendedStart.h"

#include "common/core/Failure.h"
#include "common/core/TextFile.h"
#include "sequa/core/ScriptButtons.h"
#include "sequa/core/ScriptPlayer.h"
#include "sequa/core/SequaProgram.h"

#include <exception>
#include <functional>

namespace lumen::sequa {

bool UnattendedStart::operator()(SequaProgram &program, const QString &commandLine)
{
    MainModel &model = program.model();
    model.setDoNow(true);

    QStringList lines;
    try {
        // The whole command line is the file name, unchanged.
        lines = textfile::readLines(commandLine);
    } catch (const Failure &failure) {
        m_outcome = Outcome::Unreadable;
        m_reason = failure.description();
        return m_endOnFailure;
    }
    model.setScriptText(ScriptButtons::scriptFromLines(lines));

    const bool failed = ScriptPlayer(model, program.runner()).PlayScript(model.scriptText());
    m_outcome = failed ? Outcome::Failed : Outcome::Succeeded;
    return !failed || m_endOnFailure;
}

int UnattendedStart::run(SequaProgram &program, const QString &commandLine, QTextStream &err)
{
    UnattendedStart start(true);
    program.setUnattendedStart(std::ref(start));
    program.model().setRunLogEcho(&err);
    program.startUp(commandLine);
    program.model().setRunLogEcho(nullptr);
    program.setUnattendedStart({});

    switch (start.outcome()) {
    case Outcome::Succeeded:
        return 0;
    case Outcome::Failed:
        err << "Sequa: the script " << commandLine << " did not run to its end" << Qt::endl;
        return 1;
    case Outcome::Unreadable:
        err << "Sequa: cannot read the script " << start.reason() << Qt::endl;
        return 2;
    case Outcome::NotStarted:
        break;
    }
    err << "Sequa: no script named" << Qt::endl;
    return 2;
}

} // namespace lumen::sequa
