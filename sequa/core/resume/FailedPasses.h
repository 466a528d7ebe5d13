#pragma once

#include <QSet>
#include <QString>

namespace lumen::sequa {

class MainModel;

/**
 * The passes of a run that had a failed line, named in its journal so that
 * `--redo-failed` can play exactly those again: "Failed pass: " and the
 * checkpoint of the pass's start (its LoopBeg line, the open loops with
 * their passes, the tally then). A line that failed outside any loop has no
 * pass and is named by its line alone.
 */
class FailedPasses
{
public:
    static inline const QString kPassEntry = QStringLiteral("Failed pass: ");
    static inline const QString kLineEntry = QStringLiteral("Failed line outside any loop: ");
    /** The passes a run of --redo-failed plays, each one entry, after kRedoHead. */
    static inline const QString kRedoEntry = QStringLiteral("Redo pass: ");
    static inline const QString kRedoHead = QStringLiteral("Redoes the failed passes of: ");

    /**
     * The entry naming the pass the model's run stands in after a line that
     * failed at `line`; empty when this run named that pass already.
     */
    QString note(MainModel &model, int line);
    /** An entry a resumed run carries over: named already, never again. */
    void carry(const QString &entry) { m_named.insert(entry); }

private:
    QSet<QString> m_named;
};

} // namespace lumen::sequa
