#include "driftlog/core/DriftlogModel.h"

#include "common/core/DateText.h"
#include "common/core/Failure.h"
#include "common/core/FixedText.h"
#include "common/core/NumberText.h"
#include "common/core/Paths.h"
#include "common/core/ProcessLauncher.h"
#include "driftlog/core/DriftCalculator.h"
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
      m_tolerancePath(lumen::joinPath(folder, QLatin1String(ToleranceSettings::kFileName)))
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

    try {
        log.appendLine(elapsedText, m_mode == kGainMode ? percentDrift : keVdrift);
    } catch (const lumen::Failure &f) {
        return failed(AppendOutcome::WriteFailed, f.description());
    }
    judgeNewLine();
    return AppendOutcome::LineWritten;
}

void DriftlogModel::judgeNewLine()
{
    try {
        m_verdict = chart().verdict();
        statusText = m_verdict->text();
        if (m_toleranceUnread)
            statusText += QStringLiteral("; tolerance not read: ") + m_lastError;
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

ControlChart DriftlogModel::chart()
{
    std::optional<double> tolerance;
    m_toleranceUnread = false;
    try {
        tolerance = ToleranceSettings::load(m_tolerancePath).forMode(m_mode);
    } catch (const lumen::Failure &f) {
        m_toleranceUnread = true;
        m_lastError = f.description();
    }
    return ControlChart(StabilityLog(m_logPath).lastSeries(), tolerance, unit());
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
    statusText = QStringLiteral("New reference %1 keV at %2 %3").arg(centerText, date, time);
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

bool DriftlogModel::view(const QString &path)
{
    if (lumen::openInTextEditor(path, &m_lastError))
        return true;
    statusText = QStringLiteral("Cannot start the text editor: ") + m_lastError;
    return false;
}

} // namespace lumen::driftlog
