#pragma once

namespace lumen::sequa {

class CommandRegistry;

/** GetCounts, LOGROIS, SaveDT, StoreDT and GetDTName: the commands that write data files. */
void registerDataFileCommands(CommandRegistry &registry);

} // namespace lumen::sequa
