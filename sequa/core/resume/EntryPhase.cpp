#include "sequa/core/resume/EntryPhase.h"

#include "common/core/Operator.h"
#include "sequa/core/MainModel.h"
#include "sequa/core/resume/ScriptLoops.h"
#include "sequa/core/run/PlayFileReader.h"

#include <QStringList>
#include <limits>

namespace lumen::sequa {

namespace {

QString keywordOf(const QString &line)
{
    return ScriptLoops::keywordOf(line);
}

const QString kLoopBeg = QStringLiteral("LoopBeg");
const QString kLoopEnd = QStringLiteral("LoopEnd");

} // namespace

EntryPhase::EntryPhase(const JournalCheckpoint &checkpoint)
    : m_checkpoint(checkpoint), m_active(true)
{
}

bool EntryPhase::skipsCompletedLoop(const QString &line, MainModel &model)
{
    if (!m_active || keywordOf(line) != kLoopBeg)
        return false;
    if (m_nextLoop < m_checkpoint.loops.size() &&
        model.currentLine() == m_checkpoint.loops[m_nextLoop].beginLine)
        return false;
    PlayFileReader &reader = model.playFileReader();
    int open = 1;
    while (open > 0 && !reader.atEnd() &&
           model.currentLine() < std::numeric_limits<qint16>::max()) {
        const QString keyword = keywordOf(reader.readLine());
        model.setCurrentLine(static_cast<qint16>(model.currentLine() + 1));
        if (keyword == kLoopBeg)
            ++open;
        else if (keyword == kLoopEnd)
            --open;
    }
    return true;
}

void EntryPhase::lineDone(const QString &line, MainModel &model)
{
    if (!m_active)
        return;
    if (m_nextLoop < m_checkpoint.loops.size()) {
        const JournalCheckpoint::OpenLoop &loop = m_checkpoint.loops[m_nextLoop];
        if (model.currentLine() != loop.beginLine || keywordOf(line) != kLoopBeg)
            return;
        const int depth = m_nextLoop + 1;
        if (model.loopDepth() != depth) {
            // The LoopBeg failed this time: the plan no longer fits; play on as it comes.
            m_active = false;
            return;
        }
        model.loopCounter(depth) = static_cast<qint16>(loop.pass);
        model.loopPasses(depth) = static_cast<qint16>(loop.passes);
        model.loopPassStart(depth) = loop.atPassStart;
        ++m_nextLoop;
        begin(loop.atPassStart, model);
    }
    // The interrupted pass plays again up to the checkpoint's line, passing
    // over the loops it had completed; from there the run stands where it stood.
    if (m_nextLoop == m_checkpoint.loops.size() && model.currentLine() >= m_checkpoint.line) {
        begin(m_checkpoint.now, model);
        m_active = false;
    }
}

void EntryPhase::begin(const PassTally &tally, MainModel &model)
{
    model.runRecord().restoreTally(tally);
    currentOperator().seekAnswers(tally.answers);
}

QString EntryPhase::describe(const JournalCheckpoint &checkpoint)
{
    if (checkpoint.loops.isEmpty())
        return QStringLiteral("line %1").arg(checkpoint.line + 1);
    QStringList loops;
    for (const JournalCheckpoint::OpenLoop &loop : checkpoint.loops)
        loops << QStringLiteral("loop at line %1 pass %2 of %3")
                     .arg(loop.beginLine)
                     .arg(loop.pass)
                     .arg(loop.passes);
    return QStringLiteral("line %1, ").arg(checkpoint.loops.last().beginLine + 1) +
           loops.join(QStringLiteral(", "));
}

} // namespace lumen::sequa
