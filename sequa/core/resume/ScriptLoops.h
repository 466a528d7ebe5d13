#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace lumen::sequa {

/**
 * The loops of a script as the player will meet them: each LoopBeg with the
 * LoopEnd that closes it, and the DoNumPass lines that set pass counts. What
 * a checkpoint says of a run is held against it before a resume plays.
 */
class ScriptLoops
{
public:
    struct Loop
    {
        int begin = 0;   ///< the LoopBeg line, 1-based
        int end = 0;     ///< the LoopEnd line that closes it; past the script when none does
        int parent = -1; ///< index of the loop around it, -1 at the top
    };

    /** The keyword the dispatcher would find for the line; empty for none or a comment. */
    static QString keywordOf(const QString &line);

    explicit ScriptLoops(const QStringList &lines);

    int lineCount() const { return int(m_lines.size()); }
    const QList<Loop> &loops() const { return m_loops; }
    /** Index of the loop whose LoopBeg is at `line`, or -1. */
    int loopAt(int line) const;
    /** The loops a run at `line` is inside (LoopBeg up to before its LoopEnd), outermost first. */
    QList<int> around(int line) const;

    /**
     * The pass count the loop gets from the DoNumPass played last before its
     * LoopBeg, when the outer loops stand at `outerPasses` (outermost first).
     * Nothing when an answer or an unreadable number sets it.
     */
    std::optional<int> passCount(int loop, const QList<int> &outerPasses) const;

private:
    /** Of lines from..to (downwards): the count of the DoNumPass met first, or nothing found. */
    enum class Found
    {
        None,
        Count,
        Unknown
    };
    Found lastCount(int from, int to, int &count) const;

    QStringList m_lines;
    QList<Loop> m_loops;
};

} // namespace lumen::sequa
