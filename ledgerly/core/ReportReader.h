#pragma once

#include "ledgerly/core/ReportResult.h"

#include <QByteArrayView>
#include <QString>

namespace lumen::ledgerly {

/**
 * Reads the host's results report into a ReportResult. Only the lines the
 * archiver needs are taken; every other line is skipped. Matching is
 * case-sensitive; the text is single-byte Windows-1252, lines end at CR or
 * CR LF.
 */
class ReportReader
{
public:
    /** What a read found besides the values it stored. */
    struct Outcome
    {
        bool sawIdLine = false; ///< an "ID:" line was read (the ID label shows it)
        /** Some line the reader takes was there ("ID:", "File:", "Date:", "LT:", "DT:",
         *  "Activities reported as of" or a nuclide block): false for a text that is no report. */
        bool tookAnyLine = false;
        /** Every section a report of the host holds was there: the "ID:" line, the
         *  "File:" line with its "Date:", the "LT:" line with its "DT:" and the
         *  "Activities reported as of" line. A text with a stray "Date:" is no report. */
        bool hasReportStructure = false;
        /** The first line of a nuclide block's peak table that is no peak row
         *  (a layout the reader does not know); empty when there is none. */
        QString unrecognisedLine;
    };

    /**
     * Reads a whole report held in memory into `result`, which keeps every
     * value the report does not carry. `nuclideCount` and `corrCoeffLayout`
     * start afresh.
     */
    static Outcome read(QByteArrayView bytes, ReportResult &result);
    /** The same on text already decoded. */
    static Outcome readText(const QString &text, ReportResult &result);
    /** A fresh result from one report. */
    static ReportResult parse(QByteArrayView bytes);
};

} // namespace lumen::ledgerly
