// Acquisition, presets, elapsed times, external inputs and outputs and the
// host's window: commands whose work HostApp does.
#include "sequa/core/commands/AcquisitionCommands.h"

#include "common/core/NumberText.h"
#include "common/core/Operator.h"
#include "hostlink/HostApp.h"
#include "sequa/core/MainModel.h"
#include "sequa/core/commands/CommandContext.h"
#include "sequa/core/commands/CommandRegistry.h"
#include "sequa/core/files/ValueFiles.h"

namespace lumen::sequa {

namespace {
const QString kOk = QStringLiteral("OK");

/** Sets a preset on the host and remembers it for the window's view of a preset wait. */
QString setPreset(CommandContext &c, RunProgress::PresetKind kind, double seconds)
{
    const QString reply = kind == RunProgress::PresetKind::Live ? c.host().SetLivePreset(seconds)
                                                                : c.host().SetRealPreset(seconds);
    c.model().runProgress().notePreset(kind, seconds);
    return reply;
}
} // namespace

void registerAcquisitionCommands(CommandRegistry &registry)
{
    registry.add(QStringLiteral("Minimize"), [](CommandContext &c) { return c.host().Minimize(); });
    registry.add(QStringLiteral("Maximize"), [](CommandContext &c) { return c.host().Maximize(); });
    registry.add(QStringLiteral("StartAcquire"),
                 [](CommandContext &c) { return c.host().StartAcquire(); });
    registry.add(QStringLiteral("StopAcquire"),
                 [](CommandContext &c) { return c.host().StopAcquire(); });
    registry.add(QStringLiteral("EraseSpectrum"),
                 [](CommandContext &c) { return c.host().Erasespectrum(); });
    registry.add(QStringLiteral("GetAcqStatus"),
                 [](CommandContext &c) { return kOk + c.host().GetAcquireStatus(); });
    registry.add(QStringLiteral("PresetsOff"),
                 [](CommandContext &c) { return c.host().presetsoff(); });
    registry.add(QStringLiteral("PresetsOn"),
                 [](CommandContext &c) { return c.host().presetson(); });

    registry.add(QStringLiteral("SetRealPreset"), [](CommandContext &c) {
        return setPreset(c, RunProgress::PresetKind::Real, c.numericArgument());
    });
    registry.add(QStringLiteral("SetLivePreset"), [](CommandContext &c) {
        return setPreset(c, RunProgress::PresetKind::Live, c.numericArgument());
    });
    // The two live-preset commands answer "OK" whatever the host says.
    registry.add(QStringLiteral("GetLivePreset"), [](CommandContext &c) {
        setPreset(c, RunProgress::PresetKind::Live, numericValue(c.valueFileArgument()));
        return kOk;
    });
    registry.add(QStringLiteral("AskLivePreset"), [](CommandContext &c) {
        const QString entry = currentOperator().inputBox(QStringLiteral("Enter Live Time preset:"),
                                                         QStringLiteral("Live Time Preset"));
        double seconds = numericValue(entry);
        ValueFiles::writeValueFile(c.model().programFolder(), QStringLiteral("LTpreset.txt"),
                                   shortDoubleText(seconds));
        setPreset(c, RunProgress::PresetKind::Live, seconds);
        return kOk;
    });

    registry.add(QStringLiteral("GetElapsedReal"), [](CommandContext &c) {
        return QStringLiteral("OK Elapsed Real Time is ") + c.host().GetElapsedReal() +
               QStringLiteral(" seconds");
    });
    registry.add(QStringLiteral("GetElapsedLive"), [](CommandContext &c) {
        return QStringLiteral("OK Elapsed Live Time is ") + c.host().GetElapsedLive() +
               QStringLiteral(" seconds");
    });

    registry.add(QStringLiteral("GetExtIn"), [](CommandContext &c) {
        std::int16_t input = c.int16Argument();
        return c.host().GetExtInput(input);
    });
    registry.add(QStringLiteral("SetExtOut"), [](CommandContext &c) {
        std::int16_t output = c.int16Argument();
        std::int16_t state = strictInt16(c.afterFirstComma());
        return c.host().SetExtOutput(output, state);
    });
}

} // namespace lumen::sequa
