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
