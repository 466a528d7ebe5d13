#pragma once

#include <QString>

namespace lumen::sequa {

class CommandRegistry;
class MainModel;

/** Registers DoNumPass, LoopBeg, LoopEnd, AutoID and AutoSaveSpc. */
void registerLoopCommands(CommandRegistry &registry);

/**
 * The LoopEnd command: ends the innermost loop after its last pass, or
 * starts its next pass by rewinding the play file to the line after its
 * LoopBeg. Returns the reply.
 */
QString ExecLoopEnd(MainModel &model);

} // namespace lumen::sequa
