#pragma once

#include "driftlog/core/DriftPoint.h"

#include <QString>
#include <optional>

namespace lumen::driftlog {

/** The stability log StabData.txt: elapsed minutes and drift, one measurement a line. */
class StabilityLog
{
public:
    /** The second value of a line starts at this column (1-based). */
    static constexpr int kSecondColumn = 20;

    explicit StabilityLog(QString path) : m_path(std::move(path)) {}

    const QString &path() const { return m_path; }

    /** Bytes in the log; 0 when it is absent. */
    qint64 size() const;
    bool isEmpty() const { return size() == 0; }

    /** One line: the first value, blanks up to the second column, the second value. */
    static QString lineText(const QString &first, const QString &second);

    /**
     * Starts a series with the line "0", "0". An empty or absent log is
     * replaced whole; a log that still holds lines keeps them and gets the new
     * line at its end, so a lost reference never erases earlier measurements.
     * A log whose last line already starts a series is left as it is: that
     * series holds no measurement yet, and a second "0 0" line would only
     * stand for the same reference. Throws Failure.
     */
    void startSeries() const;
    /** Appends one measurement line, whole or not at all; throws Failure. */
    void appendLine(const QString &elapsed, const QString &drift) const;

    /**
     * The measurements after the last "0 0" line (the whole log when it has
     * none); lines that hold no two numbers are skipped. An absent log gives
     * an empty series; a log that cannot be read throws Failure.
     */
    DriftSeries lastSeries() const;

    /**
     * The two values of a log line; nothing when it holds no two numbers, or
     * the drift is beyond ±1e9.
     */
    static std::optional<DriftPoint> parseLine(const QString &line);

private:
    QString m_path;
};

} // namespace lumen::driftlog
