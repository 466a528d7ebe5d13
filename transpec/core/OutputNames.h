#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

namespace lumen::transpec {

/**
 * The outputs of one batch conversion: the default name of each output, and
 * the guard that no output overwrites an input or an output claimed earlier
 * in the same run, whatever path (a symbolic link, "..", a hard link) leads
 * to it. Each path is resolved once, so a batch of n files costs n looks.
 */
class OutputNames
{
public:
    explicit OutputNames(const QStringList &inputs);

    /**
     * The input's name up to its last dot + `extension` (a.b.chn gives
     * a.b.Ans); no dot: + "." + `extension`.
     */
    static QString batchName(const QString &inputName,
                             const QString &extension = QStringLiteral("Ans"));

    /** Why `target` must not be written for `input`, or an empty text. */
    QString refusal(const QString &input, const QString &target) const;
    /** `target` is to be written from `input`: later inputs may not claim it. */
    void claim(const QString &input, const QString &target);

private:
    /** Names of one file: its resolved path and, when it exists, its device and inode. */
    static QStringList identities(const QString &path);

    QHash<QString, QString> m_inputs;  ///< identity -> input path
    QHash<QString, QString> m_claimed; ///< identity -> input that claimed it
};

} // namespace lumen::transpec
