// Sample data for decay correction: commands whose work HostApp does.
#include "sequa/core/commands/SampleCommands.h"

#include "common/core/Failure.h"
#include "common/core/NumberText.h"
#include "common/core/Operator.h"
#include "hostlink/HostApp.h"
#include "sequa/core/MainModel.h"
#include "sequa/core/commands/CommandContext.h"
#include "sequa/core/commands/CommandRegistry.h"
#include "sequa/core/files/SampleDateTime.h"
#include "sequa/core/files/ValueFiles.h"

namespace lumen::sequa {

namespace {
const QString kOk = QStringLiteral("OK");

QString ask(const char *prompt, const char *title)
{
    return currentOperator().inputBox(QString::fromLatin1(prompt), QString::fromLatin1(title));
}
} // namespace

void registerSampleCommands(CommandRegistry &registry)
{
    // The quantity commands answer "OK": the host gives no result for a quantity.
    registry.add(QStringLiteral("SampleQuantity"), [](CommandContext &c) {
        c.host().SampleQuantity(static_cast<float>(c.numericArgument()));
        return kOk;
    });
    registry.add(QStringLiteral("GetQuantity"), [](CommandContext &c) {
        const float quantity = static_cast<float>(numericValue(c.valueFileArgument()));
        c.host().SampleQuantity(quantity);
        return kOk;
    });
    registry.add(QStringLiteral("AskQuantity"), [](CommandContext &c) {
        const QString entry = ask("Enter sample size (Weight or Volume):", "Sample Quantity");
        ValueFiles::writeValueFile(c.model().programFolder(), QStringLiteral("Wt.txt"), entry);
        c.host().SampleQuantity(static_cast<float>(numericValue(entry)));
        return kOk;
    });

    registry.add(QStringLiteral("SampleDate"), [](CommandContext &c) {
        QString text = c.argument();
        return c.host().SampleDate(text);
    });
    registry.add(QStringLiteral("GetDate"), [](CommandContext &c) {
        const QString value = c.valueFileArgument();
        QString date =
            value.isEmpty() ? SampleDateTime::today() : SampleDateTime::formatAsDate(value);
        if (!SampleDateTime::isDate(date))
            return kOk;
        return c.host().SampleDate(date);
    });
    registry.add(QStringLiteral("AskDate"), [](CommandContext &c) {
        const QString entry =
            ask("Enter sample Date (DD-MMM-YYYY):", "Sample collection date for decay correction");
        QString date =
            entry.isEmpty() ? SampleDateTime::today() : SampleDateTime::formatAsDate(entry);
        const QString written = date; // the host may change its by-reference argument
        const QString reply = c.host().SampleDate(date);
        ValueFiles::writeValueFile(c.model().programFolder(), QStringLiteral("Date.txt"), written);
        return reply;
    });

    // Only a time of day alone is sent; a date would move the sample's day, so it is skipped.
    registry.add(QStringLiteral("SampleTime"), [](CommandContext &c) {
        QString text = c.argument();
        switch (SampleDateTime::kindOf(text)) {
        case SampleDateTime::Kind::TimeOfDay:
            return c.host().SampleTime(text);
        case SampleDateTime::Kind::Date:
            return kOk;
        case SampleDateTime::Kind::Neither:
            break;
        }
        throw Failure(kTypeMismatch + QStringLiteral(": \"") + text +
                      QStringLiteral("\" is no date or time"));
    });
    registry.add(QStringLiteral("GetTime"), [](CommandContext &c) {
        const QString value = c.valueFileArgument();
        QString time =
            value.isEmpty() ? SampleDateTime::now() : SampleDateTime::formatAsTime(value);
        if (!SampleDateTime::isTime(time))
            return kOk;
        return c.host().SampleTime(time);
    });
    registry.add(QStringLiteral("AskTime"), [](CommandContext &c) {
        const QString entry = ask("Enter sample Time of day (HH:MM:SS):",
                                  "Sample collection time for decay correction");
        QString time =
            entry.isEmpty() ? SampleDateTime::now() : SampleDateTime::formatAsTime(entry);
        const QString written = time;
        QString reply = kOk;
        if (SampleDateTime::isTime(time))
            reply = c.host().SampleTime(time);
        ValueFiles::writeValueFile(c.model().programFolder(), QStringLiteral("Time.txt"), written);
        return reply;
    });

    registry.add(QStringLiteral("SampleUnits"), [](CommandContext &c) {
        QString units = c.argument();
        return c.host().SampleUnits(units);
    });
    registry.add(QStringLiteral("GetUnits"), [](CommandContext &c) {
        QString units = c.valueFileArgument();
        return c.host().SampleUnits(units);
    });
    registry.add(QStringLiteral("AskUnits"), [](CommandContext &c) {
        QString units = ask("Enter sample size units (2 Characters max):", "Sample Units");
        const QString written = units;
        const QString reply = c.host().SampleUnits(units);
        ValueFiles::writeValueFile(c.model().programFolder(), QStringLiteral("Units.txt"), written);
        return reply;
    });
}

} // namespace lumen::sequa
