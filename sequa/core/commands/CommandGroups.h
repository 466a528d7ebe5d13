#pragma once

namespace lumen::sequa {

class CommandRegistry;

/** Registers every command group that is built. A new group adds one call here. */
void registerCommandGroups(CommandRegistry &registry);

} // namespace lumen::sequa
