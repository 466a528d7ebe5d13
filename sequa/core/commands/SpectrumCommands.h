#pragma once

namespace lumen::sequa {

class CommandRegistry;

void registerSpectrumCommands(CommandRegistry &registry);

} // namespace lumen::sequa
