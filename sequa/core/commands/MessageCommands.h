#pragma once

namespace lumen::sequa {

class CommandRegistry;

void registerMessageCommands(CommandRegistry &registry);

} // namespace lumen::sequa
