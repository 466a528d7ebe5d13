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

namespace lumen::driftlog {

namespace {
const QString kFileNotFound = QStringLiteral("File not found!");
} // namespace

DriftlogModel::DriftlogModel(const QString &folder)
    : rpath(lumen::defaultReportPath()),
      m_settingsPath(lumen::joinPath(folder, QStringLiteral("STAB&FILE.DAT"))),
      m_logPath(lumen::joinPath(folder, QStringLiteral("StabData.txt"))),
      m_tolerancePath(lumen::joinPath(folder, QLatin1String(ToleranceSettings::kFileName))),
      m_qcPath(lumen::joinPath(folder, QLatin1String(QcLog::kFileName))),
      m_origin(lumen::RunOrigin::fromEnvironment())
{
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
        statusText = m_lastError + QStringLiteral("; default settings used");
    }
    if (!settings)
        return;
    rpath = settings->reportPath;
    referenceDate = settings->referenceDate;
    referenceTime = settings->referenceTime;
    referenceCentre = settings->referenceCentre;
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
    const QString path = lumen::trimBlanks(rpath);
    std::optional<ReportPeak> peak;
    try {
        peak = ReportPeakReader::readFile(path);
    } catch (const lumen::Failure &f) {
        // A folder, device or FIFO is there but is no report: say what it is.
        m_lastError = f.description();
        statusText = m_lastError;
        return false;
    }
    if (!peak) {
        idText = kFileNotFound;
        m_lastError = QStringLiteral("Report not found or empty: ") + path;
        statusText = m_lastError;
        return false;
    }
    if (peak->id)
        idText = *peak->id;
    if (peak->date)
        dateText = *peak->date;
    if (peak->time)
        timeText = *peak->time;
    if (peak->centre)
        centerText = *peak->centre;
    // Not boxes of the window: a report without them must not leave the last one's values.
    fwhmText = peak->fwhm.value_or(QString());
    netAreaText = peak->netArea.value_or(QString());
    liveTimeText = peak->liveTime.value_or(QString());
    if (peak->date)
        m_dateMissing = peak->dateMissing;
    m_reportRead = true;
    m_reportSha256 = peak->sha256;
    statusText = QStringLiteral("Report read: ") + path;
    return true;
}

AppendOutcome DriftlogModel::failed(AppendOutcome outcome, const QString &why)
{
    m_lastError = why;
    statusText = QStringLiteral("Nothing appended: ") + why;
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
    if (!(referenceCentre > 0.0f) || log.isEmpty())
        return takeReference();

    const double centre = lumen::numericValue(centerText);
    const auto keV = DriftCalculator::keVDriftText(centre, referenceCentre);
    const auto percent = DriftCalculator::percentDriftText(centre, referenceCentre);
    if (!keV || !percent)
        return failed(AppendOutcome::BadCentre,
                      QStringLiteral("Center is no usable number: ") + centerText);
    keVdrift = *keV;
    percentDrift = *percent;

    const auto elapsed =
        DriftCalculator::elapsedMinutes(dateText, timeText, referenceDate, referenceTime);
    if (!elapsed) {
        // A stale elapsed value beside fresh drift values would mislead.
        elapsedText.clear();
        if (m_dateMissing && !lumen::parseDate(dateText))
            return failed(AppendOutcome::BadDateTime, dateTimeRefusal());
        return failed(AppendOutcome::BadDateTime,
                      QStringLiteral(
                          "Cannot read the date and time \"%1 %2\" against the reference \"%3 %4\"")
                          .arg(dateText, timeText, referenceDate, referenceTime));
    }
    elapsedText = QString::number(*elapsed);
    if (*elapsed <= 0) {
        statusText = QStringLiteral("Not later than the reference: nothing appended");
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
            statusText = QStringLiteral("Played again, the check that took the reference "
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
        log.appendLine(elapsedText, m_mode == kGainMode ? percentDrift : keVdrift);
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
        statusText = QStringLiteral("Replaces the point of the same run and line at %1 min\n")
                         .arg(replayed->minutes) +
                     statusText;
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
    m.date = lumen::trimBlanks(dateText);
    m.time = lumen::trimBlanks(timeText);
    m.referenceDate = referenceDate;
    m.referenceTime = referenceTime;
    m.minutes = minutes;
    m.centre = centre;
    m.referenceCentre = referenceCentre;
    m.fwhm = fwhmText;
    m.netArea = netAreaText;
    m.liveTime = liveTimeText;
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
        if (drift && drift->level == Verdict::Level::Action)
            m_verdict->correction = GainCorrection::of(referenceCentre, centre);
        statusText = m_verdict->headline();
        if (m_verdict->correction)
            statusText += QStringLiteral("; ") + m_verdict->correction->text();
        statusText += QLatin1Char('\n') + lines.join(QLatin1Char('\n'));
        if (m_toleranceUnread)
            statusText += QStringLiteral("\nStabLimits.txt not read: ") + m_lastError;
        if (!m_qcError.isEmpty())
            statusText += QStringLiteral("\nStabQC.csv not written: ") + m_qcError;
    } catch (const lumen::Failure &f) {
        // The line is in the log; only its judgement is missing.
        m_lastError = f.description();
        statusText = QStringLiteral("Appended, but the log cannot be read back: ") + m_lastError;
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
    const auto date = lumen::parseDate(referenceDate);
    const auto time = lumen::parseTime(referenceTime);
    if (date && time)
        charts.start = QDateTime(*date, *time, Qt::UTC);
    return charts;
}

AppendOutcome DriftlogModel::takeReference()
{
    const std::optional<float> centre =
        lumen::isNumberText(centerText) ? DriftCalculator::toSingle(lumen::numericValue(centerText))
                                        : std::nullopt;
    // A reference of 0 or less means none, and the % drift divides by it.
    if (!centre || !(*centre > 0.0f))
        return failed(AppendOutcome::BadCentre,
                      QStringLiteral("Center is no positive number, reference kept: ") +
                          centerText);
    const QString date = lumen::trimBlanks(dateText);
    const QString time = lumen::trimBlanks(timeText);
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
    const float oldCentre = referenceCentre;
    const QString oldDate = referenceDate;
    const QString oldTime = referenceTime;
    referenceCentre = *centre;
    referenceDate = date;
    referenceTime = time;
    try {
        if (!saveSettings())
            throw lumen::Failure(m_lastError);
        StabilityLog(m_logPath).startSeries();
    } catch (const lumen::Failure &f) {
        referenceCentre = oldCentre;
        referenceDate = oldDate;
        referenceTime = oldTime;
        const QString why = f.description();
        saveSettings();
        return failed(AppendOutcome::WriteFailed, why);
    }
    appendQcLine(0, lumen::numericValue(centerText));
    statusText = QStringLiteral("New reference %1 keV at %2 %3").arg(centerText, date, time);
    if (!m_qcError.isEmpty())
        statusText += QStringLiteral("\nStabQC.csv not written: ") + m_qcError;
    return AppendOutcome::ReferenceTaken;
}

bool DriftlogModel::saveSettings()
{
    StabSettings s;
    s.reportPath = lumen::trimBlanks(rpath);
    s.referenceDate = referenceDate;
    s.referenceTime = referenceTime;
    s.gainOption = m_gainOption;
    s.keVOption = m_keVOption;
    s.referenceCentre = referenceCentre;
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
    const QString path = lumen::trimBlanks(rpath);
    if (!QFileInfo(path).isFile()) {
        idText = kFileNotFound;
        m_lastError = QStringLiteral("Report not found: ") + path;
        statusText = m_lastError;
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
        statusText = why;
        if (m_viewChanged)
            m_viewChanged();
    };
    if (lumen::openInTextEditor(path, &m_lastError, m_viewContext,
                                m_viewContext ? std::function<void(const QString &)>(whenNotOpened)
                                              : std::function<void(const QString &)>()))
        return true;
    statusText = QStringLiteral("Cannot start the text editor: ") + m_lastError;
    return false;
}

} // namespace lumen::driftlog
