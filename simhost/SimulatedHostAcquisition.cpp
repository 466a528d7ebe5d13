// The simulated host's acquisition: counting into the memories as its
// clock runs, presets, the acquisition's state and its sample description.
#include "simhost/SimulatedHost.h"

#include "common/core/DateText.h"
#include "common/core/NumberText.h"

#include <cmath>
#include <limits>

namespace lumen {

namespace {

constexpr double kMaxBacklog = 86400.0;    ///< seconds of counting done step by step at most
constexpr double kDeadPerCount = 20e-6;    ///< seconds the detector is busy per counted event
constexpr double kDriftLimit = 2e-3;       ///< relative gain change after long counting
constexpr double kDriftSettling = 36000.0; ///< seconds of counting for the drift to settle (1/e)

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

QString secondsText(double seconds)
{
    return shortDoubleText(std::round(seconds * 100.0) / 100.0);
}

} // namespace

double SimulatedHost::deadFraction() const
{
    const double busy = m_model.totalRate() * kDeadPerCount;
    return busy / (1.0 + busy);
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

} // namespace lumen
