// Waits: a number of seconds, the acquisition preset, an external input.
#include "sequa/core/commands/WaitCommands.h"

#include "common/core/NumberText.h"
#include "sequa/core/commands/CommandContext.h"
#include "sequa/core/commands/CommandRegistry.h"
#include "sequa/core/commands/CommandWaits.h"

namespace lumen::sequa {

void registerWaitCommands(CommandRegistry &registry)
{
    registry.add(QStringLiteral("WaitSeconds"), [](CommandContext &c) {
        const std::int32_t seconds = toInt32(c.numericArgument());
        return CommandWaits(c.runner(), c.model()).WaitForSeconds(seconds);
    });
    registry.add(QStringLiteral("WaitPreset"), [](CommandContext &c) {
        return CommandWaits(c.runner(), c.model()).WaitForPreset();
    });
    registry.add(QStringLiteral("WaitInput"), [](CommandContext &c) {
        const std::int16_t input = c.int16Argument();
        const std::int16_t state = strictInt16(c.afterFirstComma());
        return CommandWaits(c.runner(), c.model()).WaitForInput(input, state);
    });
}

} // namespace lumen::sequa
