#include "simhost/SimulatedHost.h"

#include "common/core/Clock.h"
#include "common/core/Failure.h"

#include <random>

namespace lumen {

namespace {

const QString kNotRunning = QStringLiteral("The host application is not running");

std::shared_ptr<SimulatedHost> &sharedSlot()
{
    static std::shared_ptr<SimulatedHost> host;
    return host;
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

QString SimulatedHost::errorReply(const QString &description)
{
    return QStringLiteral("Error: ") + description;
}

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

void SimulatedHost::update()
{
    const double now = m_clock.elapsedSeconds();
    for (SpectrumMemory &memory : m_memories)
        advanceMemory(memory, now);
}

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

QString SimulatedHost::setprimary(std::int16_t &spectrum)
{
    if (const auto e = enter("setprimary"))
        return *e;
    if (spectrum < 1 || spectrum > kMemories)
        return errorReply(QStringLiteral("Spectrum number out of range: %1").arg(spectrum));
    m_primary = spectrum;
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

} // namespace lumen
