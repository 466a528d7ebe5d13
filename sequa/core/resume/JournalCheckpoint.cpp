#include "sequa/core/resume/JournalCheckpoint.h"

#include "sequa/core/MainModel.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>

namespace lumen::sequa {

namespace {

QString tallyText(const PassTally &tally)
{
    return QStringLiteral("%1/%2/%3")
        .arg(tally.answers)
        .arg(tally.failedLines)
        .arg(tally.failedPrograms);
}

bool number(const QString &text, int &value)
{
    bool ok = false;
    value = text.toInt(&ok);
    return ok && value >= 0;
}

} // namespace

JournalCheckpoint JournalCheckpoint::of(MainModel &model)
{
    JournalCheckpoint checkpoint;
    checkpoint.line = model.currentLine();
    // An eleventh LoopBeg leaves the depth past the slots; it opened no loop.
    const int depth = std::min<int>(model.loopDepth(), MainModel::kLoopSlots);
    for (int d = 1; d <= depth; ++d)
        checkpoint.loops.append({model.loopStartLine(d), std::max<int>(model.loopCounter(d), 1),
                                 std::max<int>(model.loopPasses(d), 1), model.loopPassStart(d)});
    checkpoint.now = model.runRecord().tally();
    return checkpoint;
}

QString JournalCheckpoint::text() const
{
    QStringList loopTexts;
    for (const OpenLoop &loop : loops)
        loopTexts << QStringLiteral("%1:%2/%3@%4")
                         .arg(loop.beginLine)
                         .arg(loop.pass)
                         .arg(loop.passes)
                         .arg(tallyText(loop.atPassStart));
    return kEntry + QStringLiteral("line %1; loops %2; answers %3; failed %4/%5")
                        .arg(line)
                        .arg(loopTexts.isEmpty() ? QStringLiteral("-") : loopTexts.join(u','))
                        .arg(now.answers)
                        .arg(now.failedLines)
                        .arg(now.failedPrograms);
}

std::optional<JournalCheckpoint> JournalCheckpoint::parse(const QString &entry)
{
    static const QRegularExpression shape(
        QStringLiteral("^Checkpoint: line (\\d+); loops (-|[0-9:/@,]+); answers (\\d+); "
                       "failed (\\d+)/(\\d+)$"));
    static const QRegularExpression loopShape(
        QStringLiteral("^(\\d+):(\\d+)/(\\d+)@(\\d+)/(\\d+)/(\\d+)$"));
    const QRegularExpressionMatch match = shape.match(entry);
    if (!match.hasMatch())
        return std::nullopt;
    JournalCheckpoint checkpoint;
    if (!number(match.captured(1), checkpoint.line) ||
        !number(match.captured(3), checkpoint.now.answers) ||
        !number(match.captured(4), checkpoint.now.failedLines) ||
        !number(match.captured(5), checkpoint.now.failedPrograms))
        return std::nullopt;
    if (match.captured(2) == QStringLiteral("-"))
        return checkpoint;
    int lastBegin = 0;
    for (const QString &loopText : match.captured(2).split(u',')) {
        const QRegularExpressionMatch m = loopShape.match(loopText);
        OpenLoop loop;
        if (!m.hasMatch() || !number(m.captured(1), loop.beginLine) ||
            !number(m.captured(2), loop.pass) || !number(m.captured(3), loop.passes) ||
            !number(m.captured(4), loop.atPassStart.answers) ||
            !number(m.captured(5), loop.atPassStart.failedLines) ||
            !number(m.captured(6), loop.atPassStart.failedPrograms))
            return std::nullopt;
        // Inner loops begin after the loops around them, and no pass is past the count.
        if (loop.beginLine <= lastBegin || loop.beginLine > checkpoint.line || loop.pass < 1 ||
            loop.pass > loop.passes || checkpoint.loops.size() == MainModel::kLoopSlots)
            return std::nullopt;
        lastBegin = loop.beginLine;
        checkpoint.loops.append(loop);
    }
    return checkpoint;
}

} // namespace lumen::sequa
