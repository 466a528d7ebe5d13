#include "hostsim/core/SimulatedHost.h"

#include "common/core/Clock.h"
#include "common/core/DateText.h"
#include "common/core/Failure.h"
#include "common/core/NumberText.h"
#include "common/core/OutsideFile.h"
#include "common/core/Paths.h"
#include "common/core/SafeFile.h"
#include "common/core/TextFile.h"
#include "hostsim/core/PeakAnalysis.h"
#include "hostsim/core/ResultsReport.h"
#include "spectra/AnsHeader.h"
#include "spectra/AnsWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cmath>
#include <limits>
#include <map>
#include <random>

namespace lumen {

namespace {

constexpr double kMaxBacklog = 86400.0;    ///< seconds of counting done step by step at most
constexpr double kDeadPerCount = 20e-6;    ///< seconds the detector is busy per counted event
constexpr double kDriftLimit = 2e-3;       ///< relative gain change after long counting
constexpr double kDriftSettling = 36000.0; ///< seconds of counting for the drift to settle (1/e)
const QString kNotRunning = QStringLiteral("The host application is not running");

const QStringList kRoiKeys = {"ID",     "NUCLIDE", "GROSS", "BKG",      "CONT",   "NET", "CENTROID",
                              "CENTER", "PEAK",    "FWHM",  "ACTIVITY", "DETEFF", "MDA", "YIELD"};

/**
 * Seconds of acquisition real time in the step of counts that starts at
 * `counted`: short steps while a spectrum is young, longer ones later, so a
 * day-long acquisition costs a few thousand steps. The steps depend on the
 * acquisition alone, never on when the host is asked.
 */
double stepAfter(double counted)
{
    return counted < 60.0 ? 1.0 : counted < 600.0 ? 10.0 : 60.0;
}

std::shared_ptr<SimulatedHost> &sharedSlot()
{
    static std::shared_ptr<SimulatedHost> host;
    return host;
}

QString errorReply(const QString &description)
{
    return QStringLiteral("Error: ") + description;
}

QString secondsText(double seconds)
{
    return shortDoubleText(std::round(seconds * 100.0) / 100.0);
}

QString canonicalType(const QString &type)
{
    const QString t = type.trimmed().toLower();
    for (const char *name : {"PeakFind", "PeakIdent", "RapidScan", "ROIDirected"}) {
        if (t == QString::fromLatin1(name).toLower())
            return QString::fromLatin1(name);
    }
    return QString();
}

double elapsedSecondsOfSuiteClock()
{
    return double(currentClock().now().toMSecsSinceEpoch()) / 1000.0;
}

std::uint64_t seedOf(const SimulatedHostSettings &settings)
{
    if (settings.seed)
        return *settings.seed;
    std::random_device device;
    return (std::uint64_t(device()) << 32) ^ device();
}

} // namespace

SimulatedHost::SimulatedHost(const SimulatedHostSettings &settings)
    : m_settings(settings), m_clock(settings.speed, settings.start, settings.manualClock),
      m_random(seedOf(settings)), m_model(std::clamp(settings.channels, 1, 16384)),
      m_library(NuclideLibrary::builtIn(QStringLiteral("STANDARD.LIB"))),
      m_createdAt(elapsedSecondsOfSuiteClock())
{
    for (int i = 0; i < kMemories; ++i) {
        SpectrumMemory &m = m_memories[std::size_t(i)];
        m.counts.assign(std::size_t(m_model.channels()), 0);
        m.name = QStringLiteral("MEMORY%1").arg(i + 1);
    }
}

std::shared_ptr<SimulatedHost> SimulatedHost::shared()
{
    auto &slot = sharedSlot();
    if (!slot)
        slot = std::make_shared<SimulatedHost>(SimulatedHostSettings::fromEnvironment());
    return slot;
}

void SimulatedHost::resetShared(std::shared_ptr<SimulatedHost> host)
{
    sharedSlot() = std::move(host);
}

// ---- calls, faults and time ------------------------------------------------

std::optional<QString> SimulatedHost::enter(const char *method)
{
    if (m_gone)
        throw Failure(kNotRunning);
    ++m_calls;
    if (m_settings.faults.goneAfterCalls >= 0 && m_calls > m_settings.faults.goneAfterCalls) {
        m_gone = true;
        throw Failure(kNotRunning);
    }
    update();
    const auto it = m_settings.faults.errorReplies.constFind(QString::fromLatin1(method));
    if (it != m_settings.faults.errorReplies.constEnd())
        return *it;
    return std::nullopt;
}

void SimulatedHost::enterOrThrow(const char *method)
{
    if (const auto error = enter(method))
        throw Failure(*error);
}

double SimulatedHost::deadFraction() const
{
    const double busy = m_model.totalRate() * kDeadPerCount;
    return busy / (1.0 + busy);
}

void SimulatedHost::update()
{
    const double now = m_clock.elapsedSeconds();
    for (SpectrumMemory &memory : m_memories)
        advanceMemory(memory, now);
}

void SimulatedHost::advanceMemory(SpectrumMemory &memory, double hostNow)
{
    if (!memory.acquiring)
        return;
    const double liveFraction = 1.0 - deadFraction();
    const double desired = memory.anchorReal + (hostNow - memory.anchorHost);
    double limit = std::numeric_limits<double>::infinity();
    bool liveLimit = false;
    if (memory.presetsOn) {
        if (memory.realPreset > 0.0)
            limit = memory.realPreset;
        if (memory.livePreset > 0.0) {
            const double atLive =
                memory.realTime + (memory.livePreset - memory.liveTime) / liveFraction;
            if (atLive < limit) {
                limit = atLive;
                liveLimit = true;
            }
        }
    }
    const double target = std::min(desired, limit);
    const double before = memory.realTime;
    if (target > memory.realTime) {
        memory.liveTime += (target - memory.realTime) * liveFraction;
        memory.realTime = target;
    }
    // A clock that leapt (a test swapping clocks, a machine waking up) must not
    // stall the caller for millions of steps: a long backlog is counted at once.
    if (memory.realTime - memory.countedReal > kMaxBacklog)
        addCounts(memory, memory.realTime - memory.countedReal - kMaxBacklog);
    while (memory.countedReal + stepAfter(memory.countedReal) <= memory.realTime + 1e-9)
        addCounts(memory, stepAfter(memory.countedReal));
    if (desired >= limit) {
        // Exactly the preset, unless the preset was lowered below the time already counted.
        if (liveLimit && limit >= before)
            memory.liveTime = memory.livePreset;
        if (memory.realTime > memory.countedReal)
            addCounts(memory, memory.realTime - memory.countedReal);
        memory.acquiring = false;
        memory.presetReached = true;
    }
}

void SimulatedHost::addCounts(SpectrumMemory &memory, double realSeconds)
{
    const double live = realSeconds * (1.0 - deadFraction());
    // The detector warms up while it counts: the gain creeps up and levels off.
    const double gain = 1.0 + kDriftLimit * (1.0 - std::exp(-m_driftSeconds / kDriftSettling));
    const std::vector<double> rates = m_model.expectedRates(gain);
    const std::size_t n = std::min(rates.size(), memory.counts.size());
    for (std::size_t ch = 0; ch < n; ++ch) {
        const std::int64_t sum =
            std::int64_t(memory.counts[ch]) + m_random.poisson(rates[ch] * live);
        memory.counts[ch] =
            std::int32_t(std::min<std::int64_t>(sum, std::numeric_limits<std::int32_t>::max()));
    }
    m_driftSeconds += realSeconds;
    memory.countedReal += realSeconds;
}

// ---- the interface -----------------------------------------------------------

QString SimulatedHost::testconnect()
{
    if (m_gone)
        return kNotRunning;
    ++m_calls;
    if (m_settings.faults.goneAfterCalls >= 0 && m_calls > m_settings.faults.goneAfterCalls) {
        m_gone = true;
        return kNotRunning;
    }
    const auto error = m_settings.faults.errorReplies.constFind(QStringLiteral("testconnect"));
    if (error != m_settings.faults.errorReplies.constEnd())
        return *error;
    if (m_settings.faults.connectNever ||
        elapsedSecondsOfSuiteClock() - m_createdAt < m_settings.faults.connectAfterSeconds)
        return QStringLiteral("The host application is starting");
    return QStringLiteral("OK");
}

QString SimulatedHost::Minimize()
{
    if (const auto e = enter("Minimize"))
        return *e;
    m_minimized = true;
    return QStringLiteral("OK");
}

QString SimulatedHost::Maximize()
{
    if (const auto e = enter("Maximize"))
        return *e;
    m_minimized = false;
    return QStringLiteral("OK");
}

QString SimulatedHost::StartAcquire()
{
    if (const auto e = enter("StartAcquire"))
        return *e;
    SpectrumMemory &m = current();
    if (m.acquiring)
        return QStringLiteral("OK");
    m.acquiring = true;
    m.presetReached = false;
    m.anchorHost = m_clock.elapsedSeconds();
    m.anchorReal = m.realTime;
    if (m.realTime <= 0.0)
        m.startTime = m_clock.now();
    // A preset already met ends the acquisition at once.
    advanceMemory(m, m.anchorHost);
    return QStringLiteral("OK");
}

QString SimulatedHost::StopAcquire()
{
    if (const auto e = enter("StopAcquire"))
        return *e;
    SpectrumMemory &m = current();
    if (m.acquiring) {
        if (m.realTime > m.countedReal)
            addCounts(m, m.realTime - m.countedReal);
        m.acquiring = false;
    }
    return QStringLiteral("OK");
}

QString SimulatedHost::Erasespectrum()
{
    if (const auto e = enter("Erasespectrum"))
        return *e;
    SpectrumMemory &m = current();
    std::fill(m.counts.begin(), m.counts.end(), 0);
    // The erased memory holds no saved spectrum any more: a report of the
    // next acquisition must not name the previous sample's file.
    m.name = QStringLiteral("MEMORY%1").arg(m_primary);
    m.realTime = m.liveTime = m.countedReal = 0.0;
    m.presetReached = false;
    m.anchorHost = m_clock.elapsedSeconds();
    m.anchorReal = 0.0;
    if (m.acquiring)
        m.startTime = m_clock.now();
    return QStringLiteral("OK");
}

QString SimulatedHost::presetsoff()
{
    if (const auto e = enter("presetsoff"))
        return *e;
    current().presetsOn = false;
    return QStringLiteral("OK");
}

QString SimulatedHost::presetson()
{
    if (const auto e = enter("presetson"))
        return *e;
    current().presetsOn = true;
    return QStringLiteral("OK");
}

QString SimulatedHost::SetUseLibEff()
{
    if (const auto e = enter("SetUseLibEff"))
        return *e;
    m_useLibEff = true;
    return QStringLiteral("OK");
}

QString SimulatedHost::ClearUseLibEff()
{
    if (const auto e = enter("ClearUseLibEff"))
        return *e;
    m_useLibEff = false;
    return QStringLiteral("OK");
}

QString SimulatedHost::GetAcquireStatus()
{
    if (const auto e = enter("GetAcquireStatus"))
        return *e;
    const SpectrumMemory &m = current();
    if (m.acquiring)
        return QStringLiteral("Acquiring");
    return m.presetReached ? QStringLiteral("Reached Preset") : QStringLiteral("Stopped");
}

QString SimulatedHost::GetElapsedReal()
{
    if (const auto e = enter("GetElapsedReal"))
        return *e;
    return secondsText(current().realTime);
}

QString SimulatedHost::GetElapsedLive()
{
    if (const auto e = enter("GetElapsedLive"))
        return *e;
    return secondsText(current().liveTime);
}

std::int32_t SimulatedHost::NumberOfCounts()
{
    enterOrThrow("NumberOfCounts");
    return std::int32_t(current().counts.size());
}

QString SimulatedHost::GetLibrary()
{
    if (const auto e = enter("GetLibrary"))
        return *e;
    return QStringLiteral("OK") + (m_library ? m_library->name : QStringLiteral("Not Valid"));
}

QString SimulatedHost::GetUseLibEff()
{
    if (const auto e = enter("GetUseLibEff"))
        return *e;
    return m_useLibEff ? QStringLiteral("OK1") : QStringLiteral("OK0");
}

QString SimulatedHost::SetRealPreset(double &seconds)
{
    if (const auto e = enter("SetRealPreset"))
        return *e;
    if (!(seconds >= 0.0) || !std::isfinite(seconds))
        return errorReply(QStringLiteral("Invalid real time preset: ") + shortDoubleText(seconds));
    current().realPreset = seconds;
    return QStringLiteral("OK");
}

QString SimulatedHost::SetLivePreset(double &seconds)
{
    if (const auto e = enter("SetLivePreset"))
        return *e;
    if (!(seconds >= 0.0) || !std::isfinite(seconds))
        return errorReply(QStringLiteral("Invalid live time preset: ") + shortDoubleText(seconds));
    current().livePreset = seconds;
    return QStringLiteral("OK");
}

QString SimulatedHost::SetSpectrumID(QString &id)
{
    if (const auto e = enter("SetSpectrumID"))
        return *e;
    current().spectrumId = id;
    return QStringLiteral("OK");
}

QString SimulatedHost::SaveSpt(QString &fileName)
{
    if (const auto e = enter("SaveSpt"))
        return *e;
    try {
        const QString path = saveTarget(fileName, QStringLiteral(".Ans"));
        SpectrumMemory &m = current();
        lumen::AnsHeader header;
        header.setSpectrumId(m.spectrumId);
        if (m.startTime.isValid())
            header.setMcaStart(toOleDate(m.startTime));
        header.setRealTime(m.realTime);
        header.setLiveTime(m.liveTime);
        header.setGroupSize(std::int16_t(m.counts.size()));
        header.setCoefficient(0, float(m_model.energyOfChannel(0.0)));
        header.setCoefficient(1, float(m_model.slope()));
        header.setSampleSize(m.quantity);
        header.setSampleUnits(m.units);
        if (const auto reference = activityReference(m))
            header.setSampleDateTime(toOleDate(*reference));
        QDir().mkpath(QFileInfo(path).absolutePath());
        safefile::replace(path, lumen::AnsWriter::toBytes(header, m.counts));
        m.name = QFileInfo(path).fileName();
        return QStringLiteral("OK");
    } catch (const Failure &failure) {
        return errorReply(failure.description());
    }
}

QString SimulatedHost::CopySpt(std::int16_t &destination, std::int16_t &source)
{
    if (const auto e = enter("CopySpt"))
        return *e;
    for (int number : {int(destination), int(source)}) {
        if (number < 1 || number > kMemories)
            return errorReply(QStringLiteral("Spectrum number out of range: %1").arg(number));
    }
    if (destination == source)
        return QStringLiteral("OK");
    SpectrumMemory copy = m_memories[std::size_t(source - 1)];
    copy.acquiring = false;
    m_memories[std::size_t(destination - 1)] = std::move(copy);
    return QStringLiteral("OK");
}

void SimulatedHost::SampleQuantity(float quantity)
{
    enterOrThrow("SampleQuantity");
    current().quantity = std::isfinite(quantity) ? quantity : 0.0f;
}

QString SimulatedHost::SampleDate(QString &text)
{
    if (const auto e = enter("SampleDate"))
        return *e;
    const auto date = parseDate(text);
    if (!date)
        return errorReply(QStringLiteral("Invalid date: ") + text.trimmed());
    current().sampleDate = formatDate(*date, u"DD-MMM-YYYY");
    return QStringLiteral("OK");
}

QString SimulatedHost::SampleTime(QString &text)
{
    if (const auto e = enter("SampleTime"))
        return *e;
    const auto time = parseTime(text);
    if (!time)
        return errorReply(QStringLiteral("Invalid time: ") + text.trimmed());
    current().sampleTime = formatTime(*time, u"HH:MM:SS");
    return QStringLiteral("OK");
}

QString SimulatedHost::SampleUnits(QString &text)
{
    if (const auto e = enter("SampleUnits"))
        return *e;
    current().units = text.trimmed();
    return QStringLiteral("OK");
}

QString SimulatedHost::GetROIData(std::int16_t &roi, const QString &key)
{
    if (const auto e = enter("GetROIData"))
        return *e;
    const SpectrumMemory &m = current();
    if (roi < 1 || roi > int(m.rois.size()))
        return errorReply(QStringLiteral("ROI %1 is not defined").arg(roi));
    const QString field = key.trimmed().toUpper();
    if (!kRoiKeys.contains(field))
        return errorReply(QStringLiteral("Unknown ROI field: ") + key.trimmed());
    return QStringLiteral("OK") + roiField(m, m.rois[std::size_t(roi - 1)], field);
}

QString SimulatedHost::setprimary(std::int16_t &spectrum)
{
    if (const auto e = enter("setprimary"))
        return *e;
    if (spectrum < 1 || spectrum > kMemories)
        return errorReply(QStringLiteral("Spectrum number out of range: %1").arg(spectrum));
    m_primary = spectrum;
    return QStringLiteral("OK");
}

QString SimulatedHost::ClsLoadROis(QString &fileName)
{
    if (const auto e = enter("ClsLoadROis"))
        return *e;
    try {
        const QString path = resolveFile(fileName);
        if (!QFileInfo::exists(path))
            return errorReply(QStringLiteral("ROI file not found: ") + path);
        const QStringList lines = textfile::readLines(path);
        std::vector<RegionOfInterest> rois;
        const int channels = int(current().counts.size());
        static const QRegularExpression separators(QStringLiteral("[\\s,]+"));
        for (int i = 0; i < lines.size(); ++i) {
            const QString line = lines[i].trimmed();
            if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
                continue;
            const QStringList parts = line.split(separators, Qt::SkipEmptyParts);
            bool okFirst = false, okLast = false;
            RegionOfInterest roi;
            if (parts.size() >= 2) {
                roi.first = parts[0].toInt(&okFirst);
                roi.last = parts[1].toInt(&okLast);
            }
            if (!okFirst || !okLast || roi.first < 0 || roi.last < roi.first ||
                roi.last >= channels)
                return errorReply(QStringLiteral("Bad ROI at line %1 of %2").arg(i + 1).arg(path));
            roi.label = parts.mid(2).join(u' ');
            rois.push_back(roi);
        }
        current().rois = std::move(rois);
        return QStringLiteral("OK");
    } catch (const Failure &failure) {
        return errorReply(failure.description());
    }
}

QString SimulatedHost::LoadConfig(QString &configuration, QString &second)
{
    Q_UNUSED(second);
    if (const auto e = enter("LoadConfig"))
        return *e;
    const QString name = configuration.trimmed();
    if (name.isEmpty())
        return errorReply(QStringLiteral("No configuration named"));
    m_configuration = name;
    return QStringLiteral("OK");
}

QString SimulatedHost::Analyze(QString &analysisType)
{
    if (const auto e = enter("Analyze"))
        return *e;
    return analyse(analysisType);
}

QString SimulatedHost::PrintRprt(QString &analysisType)
{
    if (const auto e = enter("PrintRprt"))
        return *e;
    const QString made = ensureReport(analysisType);
    if (made != QLatin1String("OK"))
        return made;
    const QString folder =
        m_settings.printFolder.isEmpty()
            ? designPath(QStringLiteral("C:\\Program Files\\Korlund\\Lumen\\Print"))
            : m_settings.printFolder;
    QDir().mkpath(folder);
    QString target;
    do {
        target =
            joinPath(folder, QStringLiteral("REPORT%1.TXT").arg(++m_printed, 4, 10, QChar(u'0')));
    } while (QFileInfo::exists(target));
    try {
        safefile::replace(target, outsidefile::read(reportPath(), outsidefile::kReportCap));
    } catch (const Failure &failure) {
        return errorReply(QStringLiteral("Could not print the report to ") + target + u' ' +
                          failure.description());
    }
    return QStringLiteral("OK");
}

QString SimulatedHost::SaveRprt(QString &analysisType, QString &fileName)
{
    if (const auto e = enter("SaveRprt"))
        return *e;
    try {
        const QString target = saveTarget(fileName, QStringLiteral(".Rpt"));
        const QString made = ensureReport(analysisType);
        if (made != QLatin1String("OK"))
            return made;
        QDir().mkpath(QFileInfo(target).absolutePath());
        textfile::writeAll(target, textfile::readAll(reportPath()));
        return QStringLiteral("OK");
    } catch (const Failure &failure) {
        return errorReply(failure.description());
    }
}

QString SimulatedHost::selectlibrary(QString &library)
{
    if (const auto e = enter("selectlibrary"))
        return *e;
    const QString name = library.trimmed();
    if (name.isEmpty()) {
        m_library.reset();
        return QStringLiteral("OK");
    }
    auto found = NuclideLibrary::builtIn(name);
    if (!found)
        return errorReply(QStringLiteral("Library not found: ") + name);
    m_library = std::move(found);
    return QStringLiteral("OK");
}

QString SimulatedHost::GetExtInput(std::int16_t &input)
{
    if (const auto e = enter("GetExtInput"))
        return *e;
    if (input < 1 || input > kInputs)
        return errorReply(QStringLiteral("No external input %1").arg(input));
    return m_inputs[std::size_t(input - 1)] ? QStringLiteral("OK1") : QStringLiteral("OK0");
}

QString SimulatedHost::SetExtOutput(std::int16_t &output, std::int16_t &state)
{
    if (const auto e = enter("SetExtOutput"))
        return *e;
    if (output < 1 || output > kOutputs)
        return errorReply(QStringLiteral("No external output %1").arg(output));
    m_outputs[std::size_t(output - 1)] = state != 0;
    return QStringLiteral("OK");
}

void SimulatedHost::GetCounts(std::vector<std::int32_t> &counts)
{
    enterOrThrow("GetCounts");
    const std::vector<std::int32_t> &source = current().counts;
    std::copy_n(source.begin(), std::min(source.size(), counts.size()), counts.begin());
}

double SimulatedHost::GetDeadtime()
{
    enterOrThrow("GetDeadtime");
    const SpectrumMemory &m = current();
    return m.realTime > 0.0 ? (m.realTime - m.liveTime) / m.realTime * 100.0 : 0.0;
}

// ---- for tests and the demo --------------------------------------------------

void SimulatedHost::setExternalInput(int input, bool on)
{
    if (input >= 1 && input <= kInputs)
        m_inputs[std::size_t(input - 1)] = on;
}

bool SimulatedHost::externalOutput(int output) const
{
    return output >= 1 && output <= kOutputs && m_outputs[std::size_t(output - 1)];
}

void SimulatedHost::advanceClock(double seconds)
{
    m_clock.advance(seconds);
}

void SimulatedHost::goAway()
{
    m_gone = true;
}

const SpectrumMemory &SimulatedHost::memory(int number)
{
    update();
    return m_memories[std::size_t(std::clamp(number, 1, kMemories) - 1)];
}

QString SimulatedHost::reportPath() const
{
    return m_settings.reportPath.isEmpty() ? defaultReportPath() : m_settings.reportPath;
}

// ---- analysis ----------------------------------------------------------------

QString SimulatedHost::resolveFile(const QString &name, const QString &defaultSuffix) const
{
    QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        throw Failure(QStringLiteral("No file name given"));
    // AskName saves the report and the spectrum under one name: the kind of
    // file is told by its extension, so neither overwrites the other.
    if (!defaultSuffix.isEmpty() && QFileInfo(trimmed).suffix().isEmpty())
        trimmed += defaultSuffix;
    if (hasFolder(trimmed) && !m_settings.confineToDataFolder)
        return designPath(trimmed);
    if (hasFolder(trimmed))
        trimmed = QFileInfo(designPath(trimmed)).fileName();
    return joinPath(dataFolder(), trimmed);
}

QString SimulatedHost::dataFolder() const
{
    return m_settings.dataFolder.isEmpty()
               ? designPath(QStringLiteral("C:\\Program Files\\Korlund\\Lumen\\Data"))
               : m_settings.dataFolder;
}

QString SimulatedHost::saveTarget(const QString &name, const QString &defaultSuffix) const
{
    const QString path =
        QDir::cleanPath(QFileInfo(resolveFile(name, defaultSuffix)).absoluteFilePath());
    // The host writes only into its own folders: a name climbing out with ".."
    // or naming a folder elsewhere must not overwrite another program's file.
    for (const QString &root : {dataFolder(), m_settings.printFolder, lumenRoot()}) {
        if (root.isEmpty())
            continue;
        const QString folder = QDir::cleanPath(QFileInfo(root).absoluteFilePath());
        if (path.startsWith(folder + u'/'))
            return path;
    }
    throw Failure(QStringLiteral("Cannot save outside the host's folders: ") + name.trimmed());
}

std::optional<QDateTime> SimulatedHost::activityReference(const SpectrumMemory &memory) const
{
    if (memory.sampleDate.isEmpty())
        return std::nullopt;
    const auto date = parseDate(memory.sampleDate);
    if (!date)
        return std::nullopt;
    const auto time = memory.sampleTime.isEmpty() ? std::optional<QTime>(QTime(0, 0))
                                                  : parseTime(memory.sampleTime);
    return QDateTime(*date, time ? *time : QTime(0, 0));
}

double SimulatedHost::efficiencyOf(const NuclideLine &line) const
{
    return m_useLibEff ? line.efficiency : SourceModel::detectorEfficiency(line.energy);
}

QString SimulatedHost::ensureReport(const QString &analysisType)
{
    const QString type = canonicalType(analysisType);
    if (!type.isEmpty() && type == m_lastReportType && QFileInfo::exists(reportPath()))
        return QStringLiteral("OK");
    return analyse(analysisType);
}

QString SimulatedHost::analyse(const QString &analysisType)
{
    const QString type = canonicalType(analysisType);
    if (type.isEmpty())
        return errorReply(QStringLiteral("Unknown analysis type: ") + analysisType.trimmed());
    try {
        const ResultsReport report = buildReport(current(), type);
        const QString path = reportPath();
        QDir().mkpath(QFileInfo(path).absolutePath());
        textfile::writeLines(path, report.lines());
        m_lastReportType = type;
        return QStringLiteral("OK");
    } catch (const Failure &failure) {
        return errorReply(failure.description());
    }
}

ResultsReport SimulatedHost::buildReport(SpectrumMemory &memory, const QString &type)
{
    const auto fwhmChannelsAt = [this](double channel) {
        return m_model.fwhm(m_model.energyOfChannel(channel)) / m_model.slope();
    };
    std::vector<PeakArea> peaks;
    if (type == QLatin1String("ROIDirected")) {
        for (const RegionOfInterest &roi : memory.rois)
            peaks.push_back(PeakAnalysis::measure(memory.counts, roi.first, roi.last));
    } else {
        peaks = PeakAnalysis::search(
            memory.counts, fwhmChannelsAt,
            int(std::ceil(m_model.channelOfEnergy(SourceModel::kSearchStart))));
    }

    ResultsReport report;
    report.spectrumId = memory.spectrumId;
    report.spectrumName = memory.name;
    report.start = memory.startTime.isValid() ? memory.startTime : m_clock.now();
    report.liveTime = memory.liveTime;
    report.realTime = memory.realTime;
    report.deadTime =
        memory.realTime > 0.0 ? (memory.realTime - memory.liveTime) / memory.realTime * 100.0 : 0.0;
    report.activityDate = activityReference(memory);
    report.analysisType = type;
    report.libraryName = m_library ? m_library->name : QStringLiteral("Not Valid");
    const bool perQuantity = memory.quantity > 0.0f;
    report.units = perQuantity && !memory.units.isEmpty() ? QStringLiteral("Bq/") + memory.units
                                                          : QStringLiteral("Bq");

    const bool identify = type != QLatin1String("PeakFind") && m_library;
    std::vector<RegionOfInterest> rois;
    // Blocks in the order their first peak appears, by nuclide index.
    std::vector<int> order;
    std::map<int, ResultsReport::NuclideBlock> blocks;
    std::map<int, std::pair<double, double>> sums; // nuclide -> (sum w*A, sum w)
    for (std::size_t i = 0; i < peaks.size(); ++i) {
        const PeakArea &p = peaks[i];
        const double energy = m_model.energyOfChannel(p.centroidChannel);
        const double fwhm = p.fwhmChannels * m_model.slope();
        report.peaks.push_back({p.centroidChannel, energy, fwhm, p.net});
        RegionOfInterest roi{p.first, p.last, QString()};
        if (type == QLatin1String("ROIDirected"))
            roi = memory.rois[i];
        const auto match = identify ? m_library->match(energy, std::max(1.5, fwhm)) : std::nullopt;
        if (match && p.net > 0 && memory.liveTime > 0.0) {
            const Nuclide &nuclide = m_library->nuclides[std::size_t(match->first)];
            const NuclideLine &line = nuclide.lines[std::size_t(match->second)];
            double activity = double(p.net) / (memory.liveTime * line.yield * efficiencyOf(line));
            if (report.activityDate && nuclide.halfLifeDays > 0.0) {
                const double days = double(report.activityDate->secsTo(report.start)) / 86400.0;
                activity *= std::exp(M_LN2 * days / nuclide.halfLifeDays);
            }
            if (perQuantity)
                activity /= memory.quantity;
            const double uncertainty =
                100.0 * std::sqrt(double(p.gross + std::max<qint64>(p.background, 0))) /
                double(p.net);
            if (!blocks.count(match->first)) {
                order.push_back(match->first);
                blocks[match->first].name = nuclide.name;
            }
            blocks[match->first].rows.push_back(
                {energy, fwhm, p.background, p.gross, p.continuum, p.net, activity, uncertainty});
            const double sigma = std::max(activity * uncertainty / 100.0, 1e-30);
            sums[match->first].first += activity / (sigma * sigma);
            sums[match->first].second += 1.0 / (sigma * sigma);
            if (roi.label.isEmpty())
                roi.label = nuclide.name;
        }
        rois.push_back(roi);
    }
    for (int index : order) {
        ResultsReport::NuclideBlock block = blocks[index];
        const auto [weighted, weight] = sums[index];
        block.activity = weighted / weight;
        block.uncertainty =
            block.activity > 0.0 ? 100.0 * std::sqrt(1.0 / weight) / block.activity : 0.0;
        report.blocks.push_back(block);
    }
    memory.rois = std::move(rois);
    return report;
}

QString SimulatedHost::roiField(const SpectrumMemory &memory, const RegionOfInterest &roi,
                                const QString &key)
{
    if (key == QLatin1String("ID")) {
        for (std::size_t i = 0; i < memory.rois.size(); ++i) {
            if (&memory.rois[i] == &roi)
                return QString::number(i + 1);
        }
    }
    const PeakArea p = PeakAnalysis::measure(memory.counts, roi.first, roi.last);
    const double energy = m_model.energyOfChannel(p.centroidChannel);
    const double fwhm = p.fwhmChannels * m_model.slope();
    const Nuclide *nuclide = nullptr;
    const NuclideLine *line = nullptr;
    if (m_library) {
        const auto match = m_library->match(energy, std::max(1.5, fwhm));
        if (match) {
            nuclide = &m_library->nuclides[std::size_t(match->first)];
            line = &nuclide->lines[std::size_t(match->second)];
        }
    }
    const double efficiency = line ? efficiencyOf(*line) : SourceModel::detectorEfficiency(energy);
    const double perBq =
        line && memory.liveTime > 0.0 ? memory.liveTime * line->yield * efficiency : 0.0;
    const auto sci = [](double v) { return QString::asprintf("%.3E", v); };

    if (key == QLatin1String("NUCLIDE"))
        return !roi.label.isEmpty() ? roi.label : (nuclide ? nuclide->name : QString());
    if (key == QLatin1String("GROSS"))
        return QString::number(p.gross);
    if (key == QLatin1String("BKG"))
        return QString::number(p.background);
    if (key == QLatin1String("CONT"))
        return QString::number(p.continuum);
    if (key == QLatin1String("NET"))
        return QString::number(p.net);
    if (key == QLatin1String("CENTROID"))
        return QString::asprintf("%.2f", energy);
    if (key == QLatin1String("CENTER"))
        return QString::asprintf("%.2f", p.centroidChannel);
    if (key == QLatin1String("PEAK"))
        return QString::number(p.peakCounts);
    if (key == QLatin1String("FWHM"))
        return QString::asprintf("%.2f", fwhm);
    if (key == QLatin1String("ACTIVITY"))
        return sci(perBq > 0.0 ? double(std::max<qint64>(p.net, 0)) / perBq : 0.0);
    if (key == QLatin1String("DETEFF"))
        return sci(efficiency);
    if (key == QLatin1String("MDA")) {
        const double counts = 2.71 + 4.65 * std::sqrt(double(std::max<qint64>(p.background, 0)));
        return sci(perBq > 0.0 ? counts / perBq : 0.0);
    }
    if (key == QLatin1String("YIELD"))
        return QString::asprintf("%.4f", line ? line->yield : 0.0);
    return QString();
}

} // namespace lumen
