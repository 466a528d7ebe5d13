#include "sequa/core/resume/ScriptLoops.h"

#include "common/core/FixedText.h"
#include "common/core/NumberText.h"
#include "sequa/core/commands/CommandTable.h"
#include "sequa/core/run/ScriptLines.h"

#include <exception>

namespace lumen::sequa {

namespace {
const QString kLoopBeg = QStringLiteral("LoopBeg");
const QString kLoopEnd = QStringLiteral("LoopEnd");
const QString kDoNumPass = QStringLiteral("DoNumPass");
constexpr int kMostPasses = 9999;
} // namespace

QString ScriptLoops::keywordOf(const QString &line)
{
    if (!scriptlines::isCommand(line) || CommandTable::isConnectLine(line))
        return QString();
    const CommandRow *row = CommandTable::match(trimBlanks(line));
    return row ? row->keyword : QString();
}

ScriptLoops::ScriptLoops(const QStringList &lines) : m_lines(lines)
{
    // LoopEnd closes the innermost open LoopBeg, as the player pairs them.
    QList<int> open;
    for (int i = 0; i < m_lines.size(); ++i) {
        const QString keyword = keywordOf(m_lines[i]);
        if (keyword == kLoopBeg) {
            m_loops.append({i + 1, int(m_lines.size()) + 1, open.isEmpty() ? -1 : open.last()});
            open.append(int(m_loops.size()) - 1);
        } else if (keyword == kLoopEnd && !open.isEmpty()) {
            m_loops[open.takeLast()].end = i + 1;
        }
    }
}

int ScriptLoops::loopAt(int line) const
{
    for (int i = 0; i < m_loops.size(); ++i)
        if (m_loops[i].begin == line)
            return i;
    return -1;
}

QList<int> ScriptLoops::around(int line) const
{
    QList<int> inside;
    for (int i = 0; i < m_loops.size(); ++i)
        if (m_loops[i].begin <= line && line < m_loops[i].end)
            inside.append(i);
    return inside;
}

ScriptLoops::Found ScriptLoops::lastCount(int from, int to, int &count) const
{
    for (int line = from; line >= to; --line) {
        const QString &text = m_lines.value(line - 1);
        if (keywordOf(text) != kDoNumPass)
            continue;
        const CommandRow *row = CommandTable::match(trimBlanks(text));
        try {
            const int passes = int16OfText(midText(text, row->argumentStart));
            if (passes == 0)
                return Found::Unknown; // the operator's answer sets it
            count = passes < 1 ? 1 : std::min(passes, kMostPasses);
            return Found::Count;
        } catch (const std::exception &) {
            return Found::Unknown; // the line fails and leaves the count as it was
        }
    }
    return Found::None;
}

std::optional<int> ScriptLoops::passCount(int loop, const QList<int> &outerPasses) const
{
    int position = m_loops[loop].begin;
    int level = int(outerPasses.size()) - 1;
    for (int inner = loop;; inner = m_loops[inner].parent, --level) {
        const int parent = m_loops[inner].parent;
        const int first = parent < 0 ? 1 : m_loops[parent].begin + 1;
        int count = 0;
        Found found = lastCount(position - 1, first, count);
        // After the first pass of the loop around, the rest of its previous pass came last.
        if (found == Found::None && parent >= 0 && outerPasses.value(level, 1) > 1)
            found = lastCount(m_loops[parent].end - 1, position + 1, count);
        if (found == Found::Count)
            return count;
        if (found == Found::Unknown)
            return std::nullopt;
        if (parent < 0)
            return 1; // no DoNumPass before it: a loop of one pass
        position = m_loops[parent].begin;
    }
}

} // namespace lumen::sequa
