#pragma once

namespace lumen::sequa {

class CommandRegistry;

/** Acquisition, presets, elapsed times, external inputs and outputs, the host's window. */
void registerAcquisitionCommands(CommandRegistry &registry);

} // namespace lumen::sequa
