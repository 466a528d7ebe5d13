#include "sequa/core/resume/CheckpointFit.h"

#include "common/core/Failure.h"
#include "sequa/core/resume/ScriptLoops.h"

namespace lumen::sequa {

namespace {

QString linesText(const QList<int> &lines)
{
    if (lines.isEmpty())
        return QStringLiteral("none");
    QStringList texts;
    for (const int line : lines)
        texts << QString::number(line);
    return QStringLiteral("line ") + texts.join(QStringLiteral(", "));
}

} // namespace

QString CheckpointFit::problem(const JournalCheckpoint &checkpoint, const QStringList &scriptLines)
{
    const ScriptLoops script(scriptLines);
    if (checkpoint.line < 1 || checkpoint.line > script.lineCount())
        return QStringLiteral("its line %1 is no line of the script, which has %2")
            .arg(checkpoint.line)
            .arg(script.lineCount());
    QList<int> held;
    for (const JournalCheckpoint::OpenLoop &loop : checkpoint.loops) {
        if (script.loopAt(loop.beginLine) < 0)
            return QStringLiteral("it holds a loop open at line %1, which is no LoopBeg")
                .arg(loop.beginLine);
        held << loop.beginLine;
    }
    QList<int> around;
    for (const int index : script.around(checkpoint.line))
        around << script.loops()[index].begin;
    if (around != held)
        return QStringLiteral("at line %1 the script is inside the loops at %2, the checkpoint "
                              "holds open those at %3")
            .arg(checkpoint.line)
            .arg(linesText(around), linesText(held));
    QList<int> outerPasses;
    for (const JournalCheckpoint::OpenLoop &loop : checkpoint.loops) {
        const std::optional<int> passes =
            script.passCount(script.loopAt(loop.beginLine), outerPasses);
        if (passes && *passes != loop.passes)
            return QStringLiteral("its loop at line %1 has %2 passes, where the script's "
                                  "DoNumPass gives %3")
                .arg(loop.beginLine)
                .arg(loop.passes)
                .arg(*passes);
        outerPasses << loop.pass;
    }
    return QString();
}

void CheckpointFit::require(const ResumePlan &plan, const QString &journal,
                            const QStringList &scriptLines)
{
    if (plan.checkpoint && !plan.redo())
        if (const QString why = problem(*plan.checkpoint, scriptLines); !why.isEmpty())
            throw Failure(
                QStringLiteral("cannot resume %1: its checkpoint does not fit the script: %2")
                    .arg(journal, why));
    for (const JournalCheckpoint &pass : plan.passes)
        if (const QString why = problem(pass, scriptLines); !why.isEmpty())
            throw Failure(QStringLiteral("cannot resume %1: its failed pass does not fit the "
                                         "script: %2")
                              .arg(journal, why));
}

} // namespace lumen::sequa
