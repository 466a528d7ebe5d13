// Analysis, reports, libraries, ROIs and configuration: commands whose work HostApp does.
#include "sequa/core/commands/AnalysisCommands.h"

#include "hostlink/HostApp.h"
#include "sequa/core/MainModel.h"
#include "sequa/core/commands/CommandContext.h"
#include "sequa/core/commands/CommandRegistry.h"
#include "sequa/core/files/DataFiles.h"
#include "sequa/core/files/ValueFiles.h"

namespace lumen::sequa {

namespace {
const QString kOk = QStringLiteral("OK");
} // namespace

void registerAnalysisCommands(CommandRegistry &registry)
{
    registry.add(QStringLiteral("GetLibrary"),
                 [](CommandContext &c) { return c.host().GetLibrary(); });
    registry.add(QStringLiteral("GetUseLibEff"),
                 [](CommandContext &c) { return c.host().GetUseLibEff(); });
    registry.add(QStringLiteral("SetUseLibEff"),
                 [](CommandContext &c) { return c.host().SetUseLibEff(); });
    registry.add(QStringLiteral("ClearUseLibEff"),
                 [](CommandContext &c) { return c.host().ClearUseLibEff(); });
    registry.add(QStringLiteral("SelectLib"), [](CommandContext &c) {
        QString library = c.argument();
        return c.host().selectlibrary(library);
    });

    registry.add(QStringLiteral("Analyze"), [](CommandContext &c) {
        QString type = c.argument();
        c.model().setLastAnalysisType(type);
        return c.host().Analyze(type);
    });
    registry.add(QStringLiteral("PrintRprt"), [](CommandContext &c) {
        QString type = c.argument();
        c.model().setLastAnalysisType(type);
        return c.host().PrintRprt(type);
    });
    registry.add(QStringLiteral("SaveRprt"), [](CommandContext &c) {
        QString type = c.beforeFirstComma();
        QString file = CommandContext::fileNameField(c.afterFirstComma());
        c.model().setLastAnalysisType(type);
        return c.host().SaveRprt(type, file);
    });
    registry.add(QStringLiteral("GetRprtName"), [](CommandContext &c) {
        QString type = c.beforeFirstComma();
        const QString valueFile = CommandContext::fileNameField(c.afterFirstComma());
        c.model().setLastAnalysisType(type);
        QString name = ValueFiles::ReadValueFile(c.model().programFolder(), valueFile);
        if (name.isEmpty())
            return kOk;
        return c.host().SaveRprt(type, name);
    });

    registry.add(QStringLiteral("LoadROIs"), [](CommandContext &c) {
        QString file = CommandContext::fileNameField(c.argument());
        return c.host().ClsLoadROis(file);
    });
    registry.add(QStringLiteral("LoadConfig"), [](CommandContext &c) {
        QString file = CommandContext::fileNameField(c.beforeFirstComma());
        QString part = c.afterFirstComma();
        c.model().setLastAnalysisType(part);
        return c.host().LoadConfig(file, part);
    });
    registry.add(QStringLiteral("GetROIData"), [](CommandContext &c) {
        std::int16_t roi = c.int16Argument();
        const QString item = c.afterFirstComma();
        DataFiles(c.model()).DumpRoiData(roi);
        c.model().setLastAnalysisType(item);
        return c.host().GetROIData(roi, item);
    });
}

} // namespace lumen::sequa
