#include "sequa/core/resume/EntryPhase.h"

#include "common/core/Operator.h"
#include "sequa/core/MainModel.h"
#include "sequa/core/resume/FailedPasses.h"
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

EntryPhase::EntryPhase(const JournalCheckpoint &checkpoint, const QStringList &failures)
    : m_checkpoint(checkpoint), m_failures(failures), m_active(true)
{
}

int EntryPhase::failedPassesInside(int beginLine) const
{
    const QList<JournalCheckpoint::OpenLoop> &open = m_checkpoint.loops;
    int inside = 0;
    for (const QString &entry : m_failures) {
        if (!entry.startsWith(FailedPasses::kPassEntry))
            continue;
        const auto pass = JournalCheckpoint::parse(JournalCheckpoint::kEntry +
                                                   entry.mid(FailedPasses::kPassEntry.size()));
        if (!pass || pass->loops.size() <= open.size() ||
            pass->loops[open.size()].beginLine != beginLine)
            continue;
        bool samePass = true;
        for (qsizetype i = 0; i < open.size(); ++i)
            samePass = samePass && pass->loops[i].beginLine == open[i].beginLine &&
                       pass->loops[i].pass == open[i].pass;
        inside += samePass ? 1 : 0;
    }
    return inside;
}

bool EntryPhase::skipsCompletedLoop(const QString &line, MainModel &model)
{
    if (!m_active || keywordOf(line) != kLoopBeg)
        return false;
    if (m_nextLoop < m_checkpoint.loops.size() &&
        model.currentLine() == m_checkpoint.loops[m_nextLoop].beginLine)
        return false;
    const int loopBegin = model.currentLine();
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
    // Inside the pass played again, the loop's failures are no longer in the
    // tally of the pass's start: the passes the journal named bring them.
    if (!m_checkpoint.loops.isEmpty() && m_nextLoop == m_checkpoint.loops.size())
        for (int i = failedPassesInside(loopBegin); i > 0; --i)
            model.runRecord().noteFailedLine();
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
        if (m_checkpoint.loops.isEmpty()) {
            begin(m_checkpoint.now, model);
        } else {
            // The pass's own failures are those it made this time; answers
            // an inner loop passed over had taken are skipped.
            model.runRecord().restoreAnswers(m_checkpoint.now.answers);
            currentOperator().seekAnswers(m_checkpoint.now.answers);
        }
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
