// Spectrum storage and identity: commands whose work HostApp does.
#include "SpectrumCommands.h"

#include "CommandContext.h"
#include "CommandRegistry.h"
#include "HostApp.h"

namespace lumen::sequa {

void registerSpectrumCommands(CommandRegistry &registry)
{
    registry.add(QStringLiteral("SetPrimary"), [](CommandContext &c) {
        std::int16_t spectrum = c.int16Argument();
        return c.host().setprimary(spectrum);
    });
}

} // namespace lumen::sequa
