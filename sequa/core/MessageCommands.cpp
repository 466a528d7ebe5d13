// Operator messages: commands that act inside the program.
#include "MessageCommands.h"

#include "CommandContext.h"
#include "CommandRegistry.h"
#include "Operator.h"

namespace lumen::sequa {

void registerMessageCommands(CommandRegistry &registry)
{
    registry.add(QStringLiteral("Beep"), [](CommandContext &) {
        currentOperator().beep();
        return QStringLiteral("OK");
    });
}

} // namespace lumen::sequa
