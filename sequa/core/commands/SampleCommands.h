#pragma once

namespace lumen::sequa {

class CommandRegistry;

/** Sample quantity, date, time and units for decay correction, typed, asked or read from files. */
void registerSampleCommands(CommandRegistry &registry);

} // namespace lumen::sequa
