#pragma once

#include <QHash>
#include <QString>
#include <atomic>
#include <cstdint>
#include <mutex>

namespace lumen {

/**
 * Makes files renamed into folders durable in groups. A renamed file is on
 * the disk only once its folder is flushed too; one flush of a folder covers
 * every rename into it that had returned before the flush began, so a batch
 * of concurrent replaces needs one folder flush per group instead of one per
 * file.
 *
 * Writers call renamed() after their rename returned (from any thread) and
 * keep the ticket; whoever reports a file calls makeDurable() first.
 */
class FolderSync
{
public:
    using Ticket = std::uint64_t;

    /** The ticket of a rename that has just returned. Thread-safe. */
    Ticket renamed() { return ++m_renames; }

    /**
     * Returns once the rename holding `ticket` into `folder` is on the disk:
     * flushes the folder unless a flush begun after that rename already did.
     * Throws Failure("Could not flush folder: " + folder + " (" + reason + ")").
     */
    void makeDurable(const QString &folder, Ticket ticket);

    /** Folder flushes made so far. */
    int flushes() const { return m_flushCount; }

private:
    std::atomic<Ticket> m_renames{0};
    std::mutex m_mutex;
    QHash<QString, Ticket> m_flushedUpTo; ///< per folder: renames covered by its last flush
    int m_flushCount = 0;
};

} // namespace lumen
