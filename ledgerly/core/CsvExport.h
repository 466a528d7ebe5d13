#pragma once

#include <QString>

namespace lumen::ledgerly {

class ResultsDatabase;

/**
 * The archive as CSV for spreadsheets and other programs: RFC 4180 quoting,
 * CR LF line ends, UTF-8 with a byte-order mark. The file is replaced whole
 * (see SafeFile.h), so a failed export leaves no half file. Text fields go
 * out without the blanks that pad them to their fixed width, and a text a
 * spreadsheet would run as a formula is made inert (see inert()). The
 * caller audits the export.
 */
class CsvExport
{
public:
    /** One CSV field: quoted when it holds a comma, quote, CR or LF; quotes doubled. */
    static QString field(const QString &text);
    /**
     * A text that begins with "=", "+", "-", "@", a tab or a CR and is not a
     * number gets a leading apostrophe, so a spreadsheet shows it rather
     * than running it; numbers (such as "-1.5E-05") and other texts are kept.
     */
    static QString inert(const QString &text);

    /**
     * "SamData": a header row of its columns in table order, then one row per
     * record in the grid's order. Returns the number of records written;
     * throws Failure when the table cannot be read or the file not written.
     */
    static qint64 writeWide(ResultsDatabase &db, const QString &path);
    /**
     * One row per "SamResults" value, with its record's "SamRecords" fields
     * before it; only current records unless `allRecords` (superseded ones
     * too). Returns the number of values written; throws as writeWide.
     */
    static qint64 writeLong(ResultsDatabase &db, const QString &path, bool allRecords = false);
    /** "SamAudit", oldest entry first. Returns the entries written; throws as writeWide. */
    static qint64 writeAudit(ResultsDatabase &db, const QString &path);
};

} // namespace lumen::ledgerly
