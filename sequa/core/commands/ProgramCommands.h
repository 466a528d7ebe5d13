#pragma once

namespace lumen::sequa {

class CommandRegistry;

/** CallExtProg, WaitExtProg and KillFile. */
void registerProgramCommands(CommandRegistry &registry);

} // namespace lumen::sequa
