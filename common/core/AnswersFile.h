#pragma once

#include <QString>
#include <QStringList>

namespace lumen {

/**
 * The operator's answers prepared ahead for a run without a display: a text
 * file named by LUMEN_ANSWERS whose lines answer the input boxes in turn.
 */
class AnswersFile
{
public:
    /** The file LUMEN_ANSWERS names; no answers when it is unset or cannot be read (said on
     * stderr). */
    static AnswersFile fromEnvironment();

    /** The next answer in turn, or nothing once they are used up. */
    bool take(QString &answer);
    /**
     * Goes on from answer `taken` (0-based), as if that many had been used:
     * a run resumed at a pass's start takes the answers that pass took.
     */
    void seek(int taken) { m_next = qBound(0, taken, int(m_answers.size())); }

private:
    QStringList m_answers;
    int m_next = 0;
};

} // namespace lumen
