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

private:
    QStringList m_answers;
};

} // namespace lumen
