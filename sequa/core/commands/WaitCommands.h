#pragma once

namespace lumen::sequa {

class CommandRegistry;

/** WaitSeconds, WaitPreset and WaitInput. */
void registerWaitCommands(CommandRegistry &registry);

} // namespace lumen::sequa
