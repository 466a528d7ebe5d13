#pragma once

#include "driftlog/core/QcRecord.h"

#include <QList>
#include <QString>
#include <optional>

namespace lumen::driftlog {

/**
 * The QC log StabQC.csv beside StabData.txt: RFC 4180, a header line, one
 * line per append. A reference's line has 0 minutes and starts a series.
 * A measurement played again by a run (same run, pass and line) replaces its
 * earlier line: that line stays, marked with the replacing one's date_time,
 * and no series counts it any more.
 */
class QcLog
{
public:
    static constexpr const char *kFileName = "StabQC.csv";

    struct Series
    {
        std::optional<QcRecord> reference; ///< the line that started the series, when logged
        QList<QcRecord> points;            ///< the live measurements after it
        QList<qint32> replacedMinutes;     ///< minutes of the series' replaced measurements
    };

    explicit QcLog(QString path) : m_path(std::move(path)) {}

    static QString header();
    static QString rowText(const QcRecord &record);
    /**
     * Nothing for the header, a line of other fields or numbers out of range.
     * Lines of the first layout (before the run and report columns) are read too.
     */
    static std::optional<QcRecord> parseRow(const QString &line);

    /**
     * Appends the record's line, whole or not at all; a log that is absent or
     * empty gets the header first, in the same append. A log of the first
     * layout is rewritten in the present one first. Throws Failure.
     */
    void append(const QcRecord &record) const;
    /**
     * Marks `earlier` (a live line of the last series) as replaced by `record`
     * and appends `record`, in one replace of the file. Throws Failure.
     */
    void replace(const QcRecord &earlier, const QcRecord &record) const;
    /** The last series; an absent log gives an empty one. Throws Failure when unreadable. */
    Series lastSeries() const;
    /**
     * The live line of the whole log that holds the same measurement: the
     * same report bytes, or the same date_time and centre. Throws Failure.
     */
    std::optional<QcRecord> sameMeasurement(const QcRecord &record) const;

private:
    QList<QcRecord> records() const;
    void rewrite(const QcRecord *earlier, const QcRecord &record) const;

    QString m_path;
};

} // namespace lumen::driftlog
