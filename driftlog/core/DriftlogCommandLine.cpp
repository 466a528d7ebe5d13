#include "driftlog/core/DriftlogCommandLine.h"

#include "common/core/FixedText.h"
#include "common/core/Paths.h"
#include "driftlog/core/DriftlogModel.h"

namespace lumen::driftlog {

std::optional<int> DriftlogCommandLine::modeOfArguments(const QStringList &args)
{
    const QString word = lumen::trimBlanks(args.join(QLatin1Char(' '))).toUpper();
    // "GAIN" is tested first, so an argument holding both words logs % gain drift.
    if (word.contains(QLatin1String("GAIN")))
        return DriftlogModel::kGainMode;
    if (word.contains(QLatin1String("KEV")))
        return DriftlogModel::kKeVMode;
    return std::nullopt;
}

int DriftlogCommandLine::run(const QStringList &args, QTextStream &out, QTextStream &err,
                             const QString &folder)
{
    const auto mode = modeOfArguments(args);
    if (!mode) {
        err << "Driftlog: give GAIN or KEV for an unattended run\n";
        err.flush();
        return 2;
    }

    DriftlogModel model(folder);
    model.startUp();
    if (!model.lastError().isEmpty())
        err << "Driftlog: " << model.lastError() << "; default settings used\n";
    model.selectOption(*mode == DriftlogModel::kGainMode ? 1 : 2);

    if (!model.readLmnFile())
        err << "Driftlog: " << model.lastError() << '\n';
    const AppendOutcome outcome = model.appendIt();
    int status = 0;
    switch (outcome) {
    case AppendOutcome::LineWritten:
        out << "Driftlog: appended " << model.elapsedText << " min, "
            << (*mode == DriftlogModel::kGainMode ? model.percentDrift + QStringLiteral(" %")
                                                  : model.keVdrift + QStringLiteral(" keV"))
            << '\n';
        break;
    case AppendOutcome::ReferenceTaken:
        out << "Driftlog: new reference " << model.centerText << " keV at " << model.referenceDate
            << ' ' << model.referenceTime << '\n';
        break;
    case AppendOutcome::NotLater:
        out << "Driftlog: measurement not later than the reference (" << model.elapsedText
            << " min), nothing appended\n";
        break;
    default:
        err << "Driftlog: nothing appended: " << model.lastError() << '\n';
        status = 1;
        break;
    }

    if (!model.saveSettings()) {
        err << "Driftlog: settings not saved: " << model.lastError() << '\n';
        status = 1;
    }
    out.flush();
    err.flush();
    return status;
}

int DriftlogCommandLine::run(const QStringList &args, QTextStream &out, QTextStream &err)
{
    return run(args, out, err, lumen::programDirectory());
}

lumen::ProgramInfo DriftlogCommandLine::programInfo()
{
    return {
        QStringLiteral("Driftlog"),
        QStringLiteral("logs the drift of a check-source peak against a reference"),
        QStringLiteral("Usage: Driftlog [GAIN | KEV]\n"
                       "  (no argument)  open the window\n"
                       "  GAIN           read the report, append the % gain drift, save, exit\n"
                       "  KEV            read the report, append the keV drift, save, exit\n"
                       "Settings STAB&FILE.DAT and the log StabData.txt live beside the program.\n"
                       "Exit status: 0 appended (or not later than the reference), 1 nothing\n"
                       "could be appended or settings not saved, 2 no command word.\n")};
}

} // namespace lumen::driftlog
