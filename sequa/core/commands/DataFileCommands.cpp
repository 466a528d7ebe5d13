// The commands that write the counts, ROI and dead-time data files.
#include "sequa/core/commands/DataFileCommands.h"

#include "common/core/FixedText.h"
#include "common/core/NumberText.h"
#include "sequa/core/MainModel.h"
#include "sequa/core/commands/CommandContext.h"
#include "sequa/core/commands/CommandRegistry.h"
#include "sequa/core/files/DataFiles.h"

namespace lumen::sequa {

namespace {
const QString kOk = QStringLiteral("OK");

QString saveDeadTimeNamedInLine(CommandContext &c)
{
    QString name = c.trimmedArgument().left(CommandContext::kFileNameWidth);
    DataFiles(c.model()).SaveDeadTime(name);
    return kOk;
}
} // namespace

void registerDataFileCommands(CommandRegistry &registry)
{
    registry.add(QStringLiteral("GetCounts"), [](CommandContext &c) {
        DataFiles(c.model()).DumpChannelCounts();
        return kOk + c.model().statusText();
    });
    registry.add(QStringLiteral("LOGROIS"), [](CommandContext &c) {
        DataFiles(c.model()).LogRoiData(c.int16Argument());
        return kOk;
    });
    registry.add(QStringLiteral("SaveDT"), &saveDeadTimeNamedInLine);
    registry.add(QStringLiteral("StoreDT"), &saveDeadTimeNamedInLine);
    registry.add(QStringLiteral("GetDTName"), [](CommandContext &c) {
        QString name = c.valueFileArgument();
        if (!name.isEmpty()) {
            name = trimBlanks(name);
            DataFiles(c.model()).SaveDeadTime(name);
        }
        return kOk;
    });
}

} // namespace lumen::sequa
