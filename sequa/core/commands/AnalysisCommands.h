#pragma once

namespace lumen::sequa {

class CommandRegistry;

void registerAnalysisCommands(CommandRegistry &registry);

} // namespace lumen::sequa
