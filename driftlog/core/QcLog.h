#pragma once

#include "driftlog/core/QcRecord.h"

#include <QList>
#include <QString>
#include <optional>

namespace lumen::driftlog {

/**
 * The QC log StabQC.csv beside StabData.txt: RFC 4180, a header line, one
 * line per append. A reference's line has 0 minutes and starts a series.
 */
class QcLog
{
public:
    static constexpr const char *kFileName = "StabQC.csv";

    struct Series
    {
        std::optional<QcRecord> reference; ///< the line that started the series, when logged
        QList<QcRecord> points;            ///< the measurements after it
    };

    explicit QcLog(QString path) : m_path(std::move(path)) {}

    static QString header();
    static QString rowText(const QcRecord &record);
    /** Nothing for the header, a line of other fields or numbers out of range. */
    static std::optional<QcRecord> parseRow(const QString &line);

    /**
     * Appends the record's line, whole or not at all; a log that is absent or
     * empty gets the header first, in the same append. Throws Failure.
     */
    void append(const QcRecord &record) const;
    /** The last series; an absent log gives an empty one. Throws Failure when unreadable. */
    Series lastSeries() const;

private:
    QString m_path;
};

} // namespace lumen::driftlog
