#pragma once

#include <QByteArrayView>
#include <QString>
#include <functional>

namespace lumen::ledgerly {

/**
 * Whether a results report is whole: the host writes its peak-search
 * section last ("PEAK SEARCH RESULTS" and the column line under it) and ends
 * every line, in both layouts. A report the analysis is still writing, or
 * one cut short by a full disk or a copy that broke off, lacks one of these,
 * or keeps growing while it is read; archiving it would store a record with
 * values missing under a hash no whole report has.
 */
class ReportCompleteness
{
public:
    /** What the report's bytes lack to be whole; empty when nothing is missing. */
    static QString missingFrom(QByteArrayView bytes);

    /** Milliseconds a report must keep its size and time before it is read. */
    static constexpr int kSettleMs = 300;

    /**
     * Waits kSettleMs and tells whether the file at `path` kept its size and
     * modification time meanwhile; the size it has then goes to `settledSize`.
     */
    static bool hasSettled(const QString &path, qint64 *settledSize);

    /**
     * The wait between the two looks at the file: a real pause of kSettleMs
     * unless a test installs its own (nullptr restores the pause).
     */
    using Pause = std::function<void(const QString &path)>;
    static void setPause(Pause pause);
};

} // namespace lumen::ledgerly
