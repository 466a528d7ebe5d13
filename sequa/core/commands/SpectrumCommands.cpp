// Spectrum storage and identity: commands whose work HostApp does.
#include "sequa/core/commands/SpectrumCommands.h"

#include "common/core/NumberText.h"
#include "common/core/Operator.h"
#include "hostlink/HostApp.h"
#include "sequa/core/MainModel.h"
#include "sequa/core/commands/CommandContext.h"
#include "sequa/core/commands/CommandRegistry.h"
#include "sequa/core/files/LineWriter.h"
#include "sequa/core/files/LocalFiles.h"
#include "sequa/core/files/ValueFiles.h"

namespace lumen::sequa {

namespace {
const QString kOk = QStringLiteral("OK");
} // namespace

void registerSpectrumCommands(CommandRegistry &registry)
{
    registry.add(QStringLiteral("SetPrimary"), [](CommandContext &c) {
        std::int16_t spectrum = c.int16Argument();
        return c.host().setprimary(spectrum);
    });
    registry.add(QStringLiteral("SaveSpectrum"), [](CommandContext &c) {
        QString file = CommandContext::fileNameField(c.trimmedArgument());
        return c.host().SaveSpt(file);
    });
    registry.add(QStringLiteral("CopySpectrum"), [](CommandContext &c) {
        // Without a comma the source is read from the whole line, which gives 0.
        std::int16_t destination = c.int16Argument();
        std::int16_t source = int16OfText(c.afterFirstComma());
        return c.host().CopySpt(destination, source);
    });
    registry.add(QStringLiteral("SetSpectrumID"), [](CommandContext &c) {
        QString id = c.argument();
        return c.host().SetSpectrumID(id);
    });
    registry.add(QStringLiteral("GetID"), [](CommandContext &c) {
        QString id = c.valueFileArgument();
        return c.host().SetSpectrumID(id);
    });
    registry.add(QStringLiteral("AskID"), [](CommandContext &c) {
        QString id = currentOperator().inputBox(QStringLiteral("Enter spectrum ID:"),
                                                QStringLiteral("Spectrum ID"));
        ValueFiles::writeValueFile(c.model().programFolder(), QStringLiteral("Id.txt"), id);
        return c.host().SetSpectrumID(id);
    });
    registry.add(QStringLiteral("GetName"), [](CommandContext &c) {
        QString name = c.valueFileArgument();
        if (name.isEmpty())
            return kOk;
        return c.host().SaveSpt(name);
    });
    registry.add(QStringLiteral("AskName"), [](CommandContext &c) {
        QString name = currentOperator().inputBox(QStringLiteral("Enter spectrum file name:"),
                                                  QStringLiteral("Spectrum File Name"));
        if (name.isEmpty())
            return kOk;
        ValueFiles::writeValueFile(c.model().programFolder(), QStringLiteral("SpmFile.txt"), name);
        if (!c.model().lastAnalysisType().isEmpty()) {
            QString type = c.model().lastAnalysisType();
            QString report = name;
            c.host().SaveRprt(type, report); // its reply is not shown, as designed
        }
        return c.host().SaveSpt(name);
    });
    registry.add(QStringLiteral("GetNumberChannels"), [](CommandContext &c) {
        const QString channels = numberToText(c.host().NumberOfCounts());
        LineWriter file(
            LocalFiles::resolve(c.model().programFolder(), QStringLiteral("Lnumchan.txt")),
            LineWriter::Mode::Replace);
        file.writeLine(channels);
        file.close();
        return QStringLiteral("OK There are ") + channels + QStringLiteral(" channels");
    });
}

} // namespace lumen::sequa
