#include "driftlog/core/DriftlogModel.h"

#include "common/core/DateText.h"
#include "common/core/Failure.h"
#include "common/core/FixedText.h"
#include "common/core/NumberText.h"
#include "common/core/Paths.h"
#include "common/core/ProcessLauncher.h"
#include "driftlog/core/DriftCalculator.h"
#include "driftlog/core/GainCorrection.h"
#include "driftlog/core/QcLog.h"
#include "driftlog/core/QcMeasurement.h"
#include "driftlog/core/ReportPeakReader.h"
#include "driftlog/core/StabSettings.h"
#include "driftlog/core/StabilityLog.h"
#include "driftlog/core/ToleranceSettings.h"

#include <QFileInfo>
#include <QHash>

namespace lumen::driftlog {

namespace {
const QString kFileNotFound = QStringLiteral("File not found!");
} // namespace

DriftlogModel::DriftlogModel(const QString &folder)
    : m_settingsPath(lumen::joinPath(folder, QStringLiteral("STAB&FILE.DAT"))),
      m_logPath(lumen::joinPath(folder, QStringLiteral("StabData.txt"))),
      m_tolerancePath(lumen::joinPath(folder, QLatin1String(ToleranceSettings::kFileName))),
      m_qcPath(lumen::joinPath(folder, QLatin1String(QcLog::kFileName))),
      m_origin(lumen::RunOrigin::fromEnvironment()), m_rpath(lumen::defaultReportPath())
{
}

QString DriftlogModel::*DriftlogModel::boxField(const QString &box)
{
    static const QHash<QString, QString DriftlogModel::*> fields{
        {QStringLiteral("Rpath"), &DriftlogModel::m_rpath},
        {QStringLiteral("IDtext"), &DriftlogModel::m_idText},
        {QStringLiteral("DateText"), &DriftlogModel::m_dateText},
        {QStringLiteral("TimeText"), &DriftlogModel::m_timeText},
        {QStringLiteral("CenterText"), &DriftlogModel::m_centerText},
        {QStringLiteral("ElapsedText"), &DriftlogModel::m_elapsedText},
        {QStringLiteral("keVdrift"), &DriftlogModel::m_keVdrift},
        {QStringLiteral("PercentDrift"), &DriftlogModel::m_percentDrift},
    };
    return fields.value(box, nullptr);
}

const QStringList &DriftlogModel::boxNames()
{
    static const QStringList names{"Rpath",      "IDtext",      "DateText", "TimeText",
                                   "CenterText", "ElapsedText", "keVdrift", "PercentDrift"};
    return names;
}

QString DriftlogModel::text(const QString &box) const
{
    const auto field = boxField(box);
    return field ? this->*field : QString();
}

void DriftlogModel::setText(const QString &box, const QString &text)
{
    if (const auto field = boxField(box))
        this->*field = text;
}

void DriftlogModel::startUp()
{
    m_mode = kGainMode;
    std::optional<StabSettings> settings;
    try {
        settings = StabSettings::load(m_settingsPath);
    } catch (const lumen::Failure &f) {
        // Go on with the defaults; saving later writes a whole record again.
        m_lastError = f.description();
        m_statusText = m_lastError + QStringLiteral("; default settings used");
    }
    if (!settings)
        return;
    m_rpath = settings->reportPath;
    // The record's centre of 0 or less stands for "no reference".
    if (settings->referenceCentre > 0.0f)
        m_reference =
            Reference{settings->referenceCentre, settings->referenceDate, settings->referenceTime};
    else
        m_reference.reset();
    // Applied in the design's order: setting option 1, then option 2, each
    // selection clearing the other and each cleared state leaving the mode.
    m_gainOption = settings->gainOption;
    if (m_gainOption)
        selectOption(1);
    m_keVOption = settings->keVOption;
    if (m_keVOption)
        selectOption(2);
}

void DriftlogModel::selectOption(int index)
{
    if (index == 1) {
        m_gainOption = true;
        m_keVOption = false;
        m_mode = kGainMode;
    } else if (index == 2) {
        m_keVOption = true;
        m_gainOption = false;
        m_mode = kKeVMode;
    }
}

bool DriftlogModel::readLmnFile()
{
    const QString path = lumen::trimBlanks(m_rpath);
    std::optional<ReportPeak> peak;
    try {
        peak = ReportPeakReader::readFile(path);
    } catch (const lumen::Failure &f) {
        // A folder, device or FIFO is there but is no report: say what it is.
        m_lastError = f.description();
        m_statusText = m_lastError;
        return false;
    }
    if (!peak) {
        m_idText = kFileNotFound;
        m_lastError = QStringLiteral("Report not found or empty: ") + path;
        m_statusText = m_lastError;
        return false;
    }
    if (peak->id)
        m_idText = *peak->id;
    if (peak->date)
        m_dateText = *peak->date;
    if (peak->time)
        m_timeText = *peak->time;
    if (peak->centre)
        m_centerText = *peak->centre;
    // Not boxes of the window: a report without them must not leave the last one's values.
    m_fwhmText = peak->fwhm.value_or(QString());
    m_netAreaText = peak->netArea.value_or(QString());
    m_liveTimeText = peak->liveTime.value_or(QString());
    if (peak->date)
        m_dateMissing = peak->dateMissing;
    m_reportRead = true;
    m_reportSha256 = peak->sha256;
    m_statusText = QStringLiteral("Report read: ") + path;
    return true;
}

AppendOutcome DriftlogModel::failed(AppendOutcome outcome, const QString &why)
{
    m_lastError = why;
    m_statusText = QStringLiteral("Nothing appended: ") + why;
    return outcome;
}

AppendOutcome DriftlogModel::appendIt()
{
    m_verdict.reset();
    m_toleranceUnread = false;
    m_qcError.clear();
    // Boxes never read show no measurement: a drift from them would be made up.
    if (!m_reportRead)
        return failed(AppendOutcome::NothingRead,
                      QStringLiteral("no report read yet; read one first with \"Read Lmn "
                                     "Results Text file\""));
    const StabilityLog log(m_logPath);
    if (!m_reference || log.isEmpty())
        return takeReference();
    const Reference reference = *m_reference;

    const double centre = lumen::numericValue(m_centerText);
    const auto keV = DriftCalculator::keVDriftText(centre, reference.centre);
    const auto percent = DriftCalculator::percentDriftText(centre, reference.centre);
    if (!keV || !percent)
        return failed(AppendOutcome::BadCentre,
                      QStringLiteral("Center is no usable number: ") + m_centerText);
    m_keVdrift = *keV;
    m_percentDrift = *percent;

    const auto elapsed =
        DriftCalculator::elapsedMinutes(m_dateText, m_timeText, reference.date, reference.time);
    if (!elapsed) {
        // A stale elapsed value beside fresh drift values would mislead.
        m_elapsedText.clear();
        if (m_dateMissing && !lumen::parseDate(m_dateText))
            return failed(AppendOutcome::BadDateTime, dateTimeRefusal());
        return failed(AppendOutcome::BadDateTime,
                      QStringLiteral(
                          "Cannot read the date and time \"%1 %2\" against the reference \"%3 %4\"")
                          .arg(m_dateText, m_timeText, reference.date, reference.time));
    }
    m_elapsedText = QString::number(*elapsed);
    if (*elapsed <= 0) {
        m_statusText = QStringLiteral("Not later than the reference: nothing appended");
        return AppendOutcome::NotLater;
    }

    const QcRecord record = qcRecord(*elapsed, centre);
    const QcLog qc(m_qcPath);
    std::optional<QcRecord> replayed;
    try {
        if (const auto same = qc.sameMeasurement(record))
            return failed(AppendOutcome::AlreadyLogged, alreadyLogged(*same, record));
        const QcLog::Series series = qc.lastSeries();
        if (series.reference && series.reference->origin.sameMeasurement(m_origin)) {
            m_statusText = QStringLiteral("Played again, the check that took the reference "
                                          "adds no point: nothing appended");
            return AppendOutcome::ReplayOfReference;
        }
        for (const QcRecord &r : series.points) {
            if (r.origin.sameMeasurement(m_origin))
                replayed = r;
        }
    } catch (const lumen::Failure &) {
        // An unreadable QC log is said when its line cannot be written either.
    }

    try {
        log.appendLine(m_elapsedText, m_mode == kGainMode ? m_percentDrift : m_keVdrift);
    } catch (const lumen::Failure &f) {
        return failed(AppendOutcome::WriteFailed, f.description());
    }
    // StabData.txt keeps every measurement's line; the QC log keeps one point a
    // run, pass and line, and the rules count the points it keeps.
    try {
        if (replayed)
            qc.replace(*replayed, record);
        else
            qc.append(record);
    } catch (const lumen::Failure &f) {
        m_qcError = f.description();
    }
    judgeNewLine(*elapsed, centre);
    if (replayed)
        m_statusText = QStringLiteral("Replaces the point of the same run and line at %1 min\n")
                           .arg(replayed->minutes) +
                       m_statusText;
    return AppendOutcome::LineWritten;
}

QString DriftlogModel::alreadyLogged(const QcRecord &logged, const QcRecord &record) const
{
    const bool sameReport =
        !record.reportSha256.isEmpty() && logged.reportSha256 == record.reportSha256;
    return QStringLiteral("already logged at %1 min (%2): %3")
        .arg(logged.minutes)
        .arg(logged.dateTime, sameReport
                                  ? QStringLiteral("the same report")
                                  : QStringLiteral("the same measurement date, time and centre"));
}

QString DriftlogModel::dateTimeRefusal() const
{
    return QStringLiteral("The measurement date is missing: the report's \"File:\" line has no "
                          "\"Date:\"");
}

ToleranceSettings DriftlogModel::limitsOrDefaults()
{
    m_toleranceUnread = false;
    try {
        return ToleranceSettings::load(m_tolerancePath);
    } catch (const lumen::Failure &f) {
        m_toleranceUnread = true;
        m_lastError = f.description();
        return {};
    }
}

QcRecord DriftlogModel::qcRecord(qint32 minutes, double centre)
{
    QcMeasurement m;
    m.date = lumen::trimBlanks(m_dateText);
    m.time = lumen::trimBlanks(m_timeText);
    const Reference reference = m_reference.value_or(Reference());
    m.referenceDate = reference.date;
    m.referenceTime = reference.time;
    m.minutes = minutes;
    m.centre = centre;
    m.referenceCentre = reference.centre;
    m.fwhm = m_fwhmText;
    m.netArea = m_netAreaText;
    m.liveTime = m_liveTimeText;
    m.halfLifeSeconds = limitsOrDefaults().halfLifeSeconds;
    QcRecord record = m.record();
    record.origin = m_origin;
    record.reportSha256 = m_reportSha256;
    return record;
}

void DriftlogModel::appendQcLine(qint32 minutes, double centre)
{
    // The QC log follows StabData.txt: a failure here leaves the designed line
    // in place and is reported on its own.
    try {
        QcLog(m_qcPath).append(qcRecord(minutes, centre));
    } catch (const lumen::Failure &f) {
        m_qcError = f.description();
    }
}

void DriftlogModel::judgeNewLine(qint32 minutes, double centre)
{
    try {
        const QcCharts all = charts();
        m_verdict = all.verdictAt(minutes);
        QStringList lines;
        for (const Verdict &v : m_verdict->verdicts)
            lines << v.quantity + QStringLiteral(": ") + v.text();
        const Verdict *drift = m_verdict->drift();
        if (drift && drift->level == Verdict::Level::Action && m_reference)
            m_verdict->correction = GainCorrection::of(m_reference->centre, centre);
        m_statusText = m_verdict->headline();
        if (m_verdict->correction)
            m_statusText += QStringLiteral("; ") + m_verdict->correction->text();
        m_statusText += QLatin1Char('\n') + lines.join(QLatin1Char('\n'));
        if (m_toleranceUnread)
            m_statusText += QStringLiteral("\nStabLimits.txt not read: ") + m_lastError;
        if (!m_qcError.isEmpty())
            m_statusText += QStringLiteral("\nStabQC.csv not written: ") + m_qcError;
    } catch (const lumen::Failure &f) {
        // The line is in the log; only its judgement is missing.
        m_lastError = f.description();
        m_statusText = QStringLiteral("Appended, but the log cannot be read back: ") + m_lastError;
    }
}

QString DriftlogModel::unit() const
{
    return m_mode == kGainMode ? QStringLiteral("%") : QStringLiteral("keV");
}

QcCharts DriftlogModel::charts()
{
    const ToleranceSettings settings = limitsOrDefaults();
    const QcLog::Series qc = QcLog(m_qcPath).lastSeries();
    // A measurement a run played again keeps its line in StabData.txt, but only
    // the point that replaced it counts.
    DriftSeries drift = StabilityLog(m_logPath).lastSeries();
    drift.removeIf([&](const DriftPoint &p) { return qc.replacedMinutes.contains(p.minutes); });
    QcCharts charts = QcCharts::of(drift, qc, settings, m_mode, unit());
    // The minutes count as the design counts them: whole days and minutes of the day, no zone.
    const auto date = m_reference ? lumen::parseDate(m_reference->date) : std::nullopt;
    const auto time = m_reference ? lumen::parseTime(m_reference->time) : std::nullopt;
    if (date && time)
        charts.start = QDateTime(*date, *time, Qt::UTC);
    return charts;
}

std::optional<QcCharts> DriftlogModel::chartsToShow()
{
    try {
        QcCharts shown = charts();
        if (m_toleranceUnread)
            m_statusText = QStringLiteral("Tolerance not drawn: ") + m_lastError;
        return shown;
    } catch (const lumen::Failure &f) {
        m_statusText = QStringLiteral("No chart: ") + f.description();
        return std::nullopt;
    }
}

AppendOutcome DriftlogModel::takeReference()
{
    const std::optional<float> centre =
        lumen::isNumberText(m_centerText)
            ? DriftCalculator::toSingle(lumen::numericValue(m_centerText))
            : std::nullopt;
    // A reference of 0 or less means none, and the % drift divides by it.
    if (!centre || !(*centre > 0.0f))
        return failed(AppendOutcome::BadCentre,
                      QStringLiteral("Center is no positive number, reference kept: ") +
                          m_centerText);
    const QString date = lumen::trimBlanks(m_dateText);
    const QString time = lumen::trimBlanks(m_timeText);
    // A reference whose date cannot be read would make every later append fail.
    if (m_dateMissing && !lumen::parseDate(date))
        return failed(AppendOutcome::BadDateTime,
                      dateTimeRefusal() + QStringLiteral(", reference kept"));
    if (!lumen::parseDate(date) || !lumen::parseTime(time))
        return failed(AppendOutcome::BadDateTime,
                      QStringLiteral("Cannot read the date and time \"%1 %2\", reference kept")
                          .arg(date, time));

    // The reference is saved before the log starts its series: a run killed
    // in between leaves a reference with no log, and the next run simply takes
    // a new one. The other order left a "0 0" line without a reference, and
    // the next run added a second one.
    const std::optional<Reference> old = m_reference;
    m_reference = Reference{*centre, date, time};
    try {
        if (!saveSettings())
            throw lumen::Failure(m_lastError);
        StabilityLog(m_logPath).startSeries();
    } catch (const lumen::Failure &f) {
        m_reference = old;
        const QString why = f.description();
        saveSettings();
        return failed(AppendOutcome::WriteFailed, why);
    }
    appendQcLine(0, lumen::numericValue(m_centerText));
    m_statusText = QStringLiteral("New reference %1 keV at %2 %3").arg(m_centerText, date, time);
    if (!m_qcError.isEmpty())
        m_statusText += QStringLiteral("\nStabQC.csv not written: ") + m_qcError;
    return AppendOutcome::ReferenceTaken;
}

bool DriftlogModel::saveSettings()
{
    StabSettings s;
    s.reportPath = lumen::trimBlanks(m_rpath);
    // No reference is written as the design's centre 0 with blank texts.
    if (m_reference) {
        s.referenceDate = m_reference->date;
        s.referenceTime = m_reference->time;
        s.referenceCentre = m_reference->centre;
    }
    s.gainOption = m_gainOption;
    s.keVOption = m_keVOption;
    try {
        s.save(m_settingsPath);
    } catch (const lumen::Failure &f) {
        m_lastError = f.description();
        return false;
    }
    return true;
}

bool DriftlogModel::viewReport()
{
    const QString path = lumen::trimBlanks(m_rpath);
    if (!QFileInfo(path).isFile()) {
        m_idText = kFileNotFound;
        m_lastError = QStringLiteral("Report not found: ") + path;
        m_statusText = m_lastError;
        return false;
    }
    return view(path);
}

bool DriftlogModel::viewLog()
{
    return view(m_logPath);
}

void DriftlogModel::reportLateViewFailures(QObject *context, std::function<void()> changed)
{
    m_viewContext = context;
    m_viewChanged = std::move(changed);
}

bool DriftlogModel::view(const QString &path)
{
    const auto whenNotOpened = [this](const QString &why) {
        m_lastError = why;
        m_statusText = why;
        if (m_viewChanged)
            m_viewChanged();
    };
    if (lumen::openInTextEditor(path, &m_lastError, m_viewContext,
                                m_viewContext ? std::function<void(const QString &)>(whenNotOpened)
                                              : std::function<void(const QString &)>()))
        return true;
    m_statusText = QStringLiteral("Cannot start the text editor: ") + m_lastError;
    return false;
}

} // namespace lumen::driftlog
