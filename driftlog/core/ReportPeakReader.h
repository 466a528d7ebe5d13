#pragma once

#include "driftlog/core/ReportPeak.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>

namespace lumen::driftlog {

/** Reads the sample ID, the measurement date and time and the last peak centre from a results
 * report. */
class ReportPeakReader
{
public:
    /** Parses report bytes (Windows-1252, CR LF, CR or LF line ends). */
    static ReportPeak parse(QByteArrayView bytes);
    static ReportPeak parseLines(const QStringList &lines);

    /**
     * Reads the report file. Nothing when it is absent or empty (the caller
     * shows "File not found!"); a device, FIFO, folder, oversized or
     * unreadable file throws Failure with the reason.
     */
    static std::optional<ReportPeak> readFile(const QString &path);

    /** Date and time texts of a "File:" line; the date is empty when the line is too short for one.
     */
    static void splitFileLine(const QString &line, QString *date, QString *time);
};

} // namespace lumen::driftlog
