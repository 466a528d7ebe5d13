#pragma once

#include "common/core/FolderSync.h"

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <deque>
#include <functional>
#include <future>

namespace lumen::transpec {

/** One input of a batch conversion, as it is reported. */
struct BatchItem
{
    QString input;
    QString target;       ///< the output written (empty when refused)
    QString refusal;      ///< why nothing was written (empty when written)
    QStringList notes;    ///< the readers' notes that did not stop the file
    QStringList warnings; ///< doubts about a file that was written
};

/**
 * Writes a batch's files and reports each input in the order given: its
 * line on `out` (the path written or the refusal), its notes and warnings on
 * `err`. Each file is replaced durably (flushed to the disk before it is
 * renamed into place) and its folder is flushed before the file is reported,
 * so a file reported written survives a crash of the machine. A few are
 * written at a time so that the disk can commit their flushes together, and
 * one folder flush covers every file renamed before it.
 */
class BatchWriter
{
public:
    static constexpr int kAllWritten = 0;
    static constexpr int kSomeNotWritten = 1;
    static constexpr int kWrittenWithWarnings = 3;

    BatchWriter(QTextStream &out, QTextStream &err) : m_out(out), m_err(err) {}
    ~BatchWriter();
    BatchWriter(const BatchWriter &) = delete;
    BatchWriter &operator=(const BatchWriter &) = delete;

    /**
     * Starts `job`, which writes `item.target` in another thread (owning
     * copies of what it writes) and throws Failure when it cannot.
     */
    void write(BatchItem item, std::function<void()> job);
    /** An input refused before writing. */
    void skip(BatchItem item);
    /** Waits for every write, reports the rest; the batch's exit status. */
    int finish();

private:
    static constexpr std::size_t kWritesAtOnce = 32;

    struct Outcome
    {
        QString failure; ///< empty on success
        lumen::FolderSync::Ticket ticket = 0;
    };
    struct Pending
    {
        BatchItem item;
        std::future<Outcome> outcome;
    };
    void reportFirst();

    QTextStream &m_out;
    QTextStream &m_err;
    std::deque<Pending> m_pending;
    lumen::FolderSync m_folders;
    int m_failed = 0;
    int m_warned = 0;
};

} // namespace lumen::transpec
