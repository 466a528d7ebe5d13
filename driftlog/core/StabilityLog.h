#pragma once

#include <QString>

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
     * written anew; a log that still holds lines keeps them and gets the new
     * line at its end, so a lost reference never erases earlier measurements.
     * Throws Failure.
     */
    void startSeries() const;
    /** Appends one measurement line; throws Failure. */
    void appendLine(const QString &elapsed, const QString &drift) const;

private:
    QString m_path;
};

} // namespace lumen::driftlog
