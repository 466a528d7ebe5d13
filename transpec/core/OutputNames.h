#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace lumen::transpec {

/**
 * The outputs of one batch conversion: the default name of each output, and
 * the guard that no output overwrites an input or an output written earlier
 * in the same run, whatever path (a symbolic link, "..", a hard link) leads
 * to it.
 */
class OutputNames
{
public:
    /** The input's name up to its last dot + "Ans" (a.b.chn gives a.b.Ans); no dot: + ".Ans". */
    static QString batchName(const QString &inputName);

    /** Why `target` must not be written for `input`, or an empty text. */
    QString refusal(const QString &input, const QString &target, const QStringList &inputs) const;
    void add(const QString &input, const QString &target);

    /** Whether two paths name one file (or would, for a file not yet there). */
    static bool sameFile(const QString &a, const QString &b);

private:
    QList<QPair<QString, QString>> m_written; ///< input, target
};

} // namespace lumen::transpec
