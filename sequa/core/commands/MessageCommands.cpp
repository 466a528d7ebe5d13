// Operator messages: commands that act inside the program.
#include "sequa/core/commands/MessageCommands.h"

#include "common/core/Operator.h"
#include "sequa/core/MainModel.h"
#include "sequa/core/SequaTexts.h"
#include "sequa/core/commands/CommandContext.h"
#include "sequa/core/commands/CommandRegistry.h"

namespace lumen::sequa {

namespace {
// ShowMsg keeps its panel up until more than this many ticks have passed.
constexpr qint32 kShowMsgTicks = 5;
} // namespace

void registerMessageCommands(CommandRegistry &registry)
{
    registry.add(QStringLiteral("Beep"), [](CommandContext &) {
        currentOperator().beep();
        return QStringLiteral("OK");
    });
    registry.add(QStringLiteral("WaitDlg"), [](CommandContext &c) {
        currentOperator().messageBox(c.argument(), kProgramTitle, MessageButtons::Ok);
        return QStringLiteral("OK");
    });
    registry.add(QStringLiteral("ShowMsg"), [](CommandContext &c) {
        c.model().ShowMessagePanel(c.argument());
        c.model().pumpForTicks(kShowMsgTicks);
        c.model().HideMessagePanel();
        return QStringLiteral("OK");
    });
}

} // namespace lumen::sequa
