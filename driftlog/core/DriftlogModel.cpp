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

#include <QFileInfo>

namespace lumen::driftlog {

namespace {
const QString kFileNotFound = QStringLiteral("File not found!");
} // namespace

DriftlogModel::DriftlogModel(const QString &folder)
    : rpath(lumen::defaultReportPath()),
      m_settingsPath(lumen::joinPath(folder, QStringLiteral("STAB&FILE.DAT"))),
      m_logPath(lumen::joinPath(folder, QStringLiteral("StabData.txt")))
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
    const auto peak = ReportPeakReader::readFile(lumen::trimBlanks(rpath));
    if (!peak) {
        idText = kFileNotFound;
        m_lastError = QStringLiteral("Report not found or empty: ") + lumen::trimBlanks(rpath);
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
    return true;
}

AppendOutcome DriftlogModel::appendIt()
{
    const StabilityLog log(m_logPath);
    if (!(referenceCentre > 0.0f) || log.isEmpty())
        return takeReference();

    const double centre = lumen::numericValue(centerText);
    const auto keV = DriftCalculator::keVDriftText(centre, referenceCentre);
    const auto percent = DriftCalculator::percentDriftText(centre, referenceCentre);
    if (!keV || !percent) {
        m_lastError = QStringLiteral("Center is no usable number: ") + centerText;
        return AppendOutcome::BadCentre;
    }
    keVdrift = *keV;
    percentDrift = *percent;

    const auto elapsed =
        DriftCalculator::elapsedMinutes(dateText, timeText, referenceDate, referenceTime);
    if (!elapsed) {
        // A stale elapsed value beside fresh drift values would mislead.
        elapsedText.clear();
        m_lastError = QStringLiteral(
                          "Cannot read the date and time \"%1 %2\" against the reference \"%3 %4\"")
                          .arg(dateText, timeText, referenceDate, referenceTime);
        return AppendOutcome::BadDateTime;
    }
    elapsedText = QString::number(*elapsed);
    if (*elapsed <= 0)
        return AppendOutcome::NotLater;

    try {
        log.appendLine(elapsedText, m_mode == kGainMode ? percentDrift : keVdrift);
    } catch (const lumen::Failure &f) {
        m_lastError = f.description();
        return AppendOutcome::WriteFailed;
    }
    return AppendOutcome::LineWritten;
}

AppendOutcome DriftlogModel::takeReference()
{
    const std::optional<float> centre =
        lumen::isNumberText(centerText) ? DriftCalculator::toSingle(lumen::numericValue(centerText))
                                        : std::nullopt;
    // A reference of 0 or less means none, and the % drift divides by it.
    if (!centre || !(*centre > 0.0f)) {
        m_lastError = QStringLiteral("Center is no positive number, reference kept: ") + centerText;
        return AppendOutcome::BadCentre;
    }
    const QString date = lumen::trimBlanks(dateText);
    const QString time = lumen::trimBlanks(timeText);
    // A reference whose date cannot be read would make every later append fail.
    if (!lumen::parseDate(date) || !lumen::parseTime(time)) {
        m_lastError = QStringLiteral("Cannot read the date and time \"%1 %2\", reference kept")
                          .arg(date, time);
        return AppendOutcome::BadDateTime;
    }
    try {
        StabilityLog(m_logPath).startSeries();
    } catch (const lumen::Failure &f) {
        m_lastError = f.description();
        return AppendOutcome::WriteFailed;
    }
    referenceCentre = *centre;
    referenceDate = date;
    referenceTime = time;
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
        return false;
    }
    return lumen::openInTextEditor(path, &m_lastError);
}

bool DriftlogModel::viewLog()
{
    return lumen::openInTextEditor(m_logPath, &m_lastError);
}

} // namespace lumen::driftlog
