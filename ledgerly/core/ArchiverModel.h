#pragma once

#include "ledgerly/core/ArchiverSettings.h"
#include "ledgerly/core/ReportResult.h"
#include "ledgerly/core/ResultsDatabase.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace lumen {
class Operator;
}

namespace lumen::ledgerly {

/**
 * The state of the archiver window and its actions: read the report, append
 * it to the results database, reset the database, view the report, and the
 * settings kept between runs. The window shows what the model answers and
 * forwards clicks; tests and the command line drive the model directly.
 */
class ArchiverModel
{
public:
    static QString title() { return QStringLiteral("LDP Lumen Archiver 020514"); }
    static QString defaultDatabasePath();

    /** How a report read ended. */
    enum class ReadStatus
    {
        Failed,     ///< the path could not be opened (a message was shown)
        Empty,      ///< the file is empty or was missing: nothing read
        NotAReport, ///< the text holds none of the lines a report has: nothing taken
        Incomplete, ///< a report cut short or still being written: nothing taken
        Read        ///< the report was read
    };

    ArchiverModel();

    /** Messages and questions go here; the process's operator when none is set. */
    void setOperator(lumen::Operator *op) { m_operator = op; }

    /** Start-up: the settings of `folder` (the program directory) replace the defaults. */
    void loadSettings(const QString &folder);
    /** Exit: both settings files written anew; a file that could not be is shown, with why. */
    bool saveSettings(const QString &folder) const;

    /** Reads the report at `Rpath` into the result and updates the ID and isotope labels. */
    ReadStatus readLmnFile();
    /**
     * Appends the result as one record to the database at `Apath`, making the
     * database when it is missing. True when the record was stored; a failure
     * is shown (unless BlindFlag) and leaves the database as it was. Refused
     * (with a message) while the last file read was no results report.
     */
    bool appendIt();
    /**
     * Replaces the database with a fresh one after asking (unless BlindFlag).
     * True when a fresh database was made; otherwise `reason` (when given)
     * says why.
     */
    bool createDb(QString *reason = nullptr);
    /** Option button 1..4 selected: the append mode 0..3. */
    void selectOption(int button);
    /**
     * The viewer's first step: true when `Apath` names an existing file (or a
     * server); otherwise the path is reported (unless BlindFlag).
     */
    bool checkViewerPath();
    enum class ExportKind
    {
        Wide, ///< "SamData" as it is
        Long, ///< one row per value of "SamResults" with its record's fields
        Audit ///< "SamAudit", the trail of changes
    };
    /** How an export ended. */
    struct ExportResult
    {
        qint64 rows = -1;      ///< rows written; -1 when no file was written (`error` says why)
        QString error;         ///< why nothing was written
        QString auditError;    ///< the file was written but its audit row was refused: why
        AuditChain::Head head; ///< the audit chain's head the export was made from
    };
    /**
     * Writes the database at `Apath` to a CSV file, text fields without their
     * fixed-width padding. The long form holds current records only unless
     * `allRecords` (superseded ones too). Reading needs no writing: a
     * read-only archive exports. The export is then audited (its file's
     * absolute path and the chain head); nothing is shown.
     */
    ExportResult exportCsv(const QString &path, ExportKind kind, bool allRecords = false) const;
    /** Opens the report in the text editor; a missing report or editor is reported. */
    bool viewResultsText();

    /** No messages or questions: every question takes its default answer ("BlindFlag"). */
    bool blindFlag() const { return m_blindFlag; }
    void setBlindFlag(bool blind) { m_blindFlag = blind; }
    /** The append mode 0..3 (activity, net, gross, background). */
    int appendMode() const { return m_appendMode; }
    void setAppendMode(int mode) { m_appendMode = mode; }
    const QStringList &modeMarkers() const { return m_modeMarkers; }
    /** The report path text as entered. */
    const QString &rpath() const { return m_rpath; }
    void setRpath(const QString &path) { m_rpath = path; }
    /** The database path text as entered. */
    const QString &apath() const { return m_apath; }
    void setApath(const QString &path) { m_apath = path; }

    // The labels' texts: "null" until the value is known.
    QString numbRecText() const;
    QString numFieldsText() const;
    QString numbIsoText() const;
    QString currentFileText() const;

    /** Set once a record is appended: the button stays red for the rest of the run. */
    bool appendButtonRed() const { return m_appendButtonRed; }
    /** The viewer's column widths, twips. */
    const ArchiverSettings::Widths &gridColumnWidths() const { return m_gridColumnWidths; }
    /** The viewer keeps its column widths here while open, so exit saves them. */
    ArchiverSettings::Widths &gridColumnWidthsForViewer() { return m_gridColumnWidths; }

    /** The report last read. */
    const ReportResult &report() const { return m_report; }
    /** Corrects the report read (its ID, a value) before it is appended. */
    void setReport(const ReportResult &report) { m_report = report; }
    /** SHA-256 (hex) of the bytes of the last report read. */
    const QString &reportSha256() const { return m_reportSha256; }
    /** Set when the last report read holds a line its layout does not explain. */
    const QString &layoutWarning() const { return m_layoutWarning; }

    /** Archive a report whose bytes and mode are archived already (else it is refused). */
    void setAppendAgain(bool again) { m_appendAgain = again; }
    /** The window asks whether to archive a report archived already (rather than refusing). */
    void setAskBeforeAppendingAgain(bool ask) { m_askBeforeAppendingAgain = ask; }

    /** What the wide table could not take at the last append (the long tables hold it). */
    const QStringList &lastWideLeftOut() const { return m_lastWideLeftOut; }
    /** The record number the last append gave ("Record", and "idxRec#" when "SamData" took it). */
    qint64 lastRecordNumber() const { return m_lastRecordNumber; }
    /** Whether "SamData" took the last appended record ("SamRecords" always does). */
    bool lastRecordInWideTable() const { return m_lastRecordInWideTable; }
    /** The record the last refused append found archived already; 0 when none. */
    qint64 lastAlreadyArchived() const { return m_lastAlreadyArchived; }
    /** Earlier records of the same run, pass and line that the last append superseded. */
    const QList<qint64> &lastSuperseded() const { return m_lastSuperseded; }

    /** The record the append stores of the report, with the run it comes from. */
    NewRecord newRecord() const;

    /** The chain head as an export names it, e.g. "audit chain head: entry 12, 3fa4…". */
    static QString headText(const AuditChain::Head &head);

    /** The message for a text that holds none of a report's lines. */
    static QString notAReportMessage(const QString &path);
    /** The message for a report that is not whole; `missing` says what it lacks. */
    static QString incompleteMessage(const QString &path, const QString &missing);

private:
    lumen::Operator &op() const;
    void message(const QString &text) const;

    /** The database's counts after it was made or appended to. */
    void setCounts(int fields, qint64 records);

    lumen::Operator *m_operator = nullptr;
    bool m_blindFlag = false;
    int m_appendMode = 0;
    QStringList m_modeMarkers;
    QString m_rpath;
    QString m_apath;
    std::optional<qint64> m_numbRec;
    std::optional<int> m_numFields;
    std::optional<int> m_numbIso;
    std::optional<QString> m_currentFile;
    bool m_appendButtonRed = false;
    ArchiverSettings::Widths m_gridColumnWidths{};
    ReportResult m_report;
    QString m_reportSha256;
    QString m_layoutWarning;
    bool m_appendAgain = false;
    bool m_askBeforeAppendingAgain = false;
    QStringList m_lastWideLeftOut;
    qint64 m_lastRecordNumber = 0;
    bool m_lastRecordInWideTable = true;
    qint64 m_lastAlreadyArchived = 0;
    QList<qint64> m_lastSuperseded;
    bool m_lastReadNotAReport = false;
    bool m_reportRead = false; ///< a whole report has been read since the start
};

} // namespace lumen::ledgerly
