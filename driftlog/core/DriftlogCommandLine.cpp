#include "driftlog/core/DriftlogCommandLine.h"

#include "common/core/FixedText.h"
#include "common/core/Paths.h"
#include "driftlog/core/DriftlogModel.h"

#include <algorithm>

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
            << (*mode == DriftlogModel::kGainMode ? model.percentDrift : model.keVdrift) << ' '
            << model.unit() << '\n';
        if (const auto &verdict = model.verdict()) {
            out << "Driftlog: " << verdict->text() << '\n';
            status = verdict->exitStatus();
        } else {
            err << "Driftlog: no verdict: " << model.lastError() << '\n';
            status = 1;
        }
        if (model.toleranceUnread()) {
            err << "Driftlog: tolerance not checked: " << model.lastError() << '\n';
            status = std::max(status, 1);
        }
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
        status = std::max(status, 1);
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
        QStringLiteral(
            "Usage: Driftlog [GAIN | KEV | --chart FILE.png]\n"
            "  (no argument)    open the window \"Data Orginizer\"\n"
            "  GAIN             read the report, append the % gain drift, judge it, save, exit\n"
            "  KEV              the same with the keV drift (GAIN wins when both are given)\n"
            "  --chart FILE.png draw the control chart of the log's last series into FILE.png\n"
            "                   (no display needed)\n"
            "\n"
            "The report path and the reference are kept in STAB&FILE.DAT, the log in\n"
            "StabData.txt, both beside the program. The first run of a new (or emptied) log\n"
            "takes the reference and writes the line \"0 0\"; each later run appends the\n"
            "minutes since the reference and the drift, then prints a verdict on it:\n"
            "  in control, warning: RULE, action: RULE (with the limits), or no limits yet.\n"
            "Limits come from the first 20 points after the reference: mean, warning at\n"
            "+-2 s, action at +-3 s (s: their standard deviation). Rules: 1-3s one point\n"
            "beyond an action limit; 1-2s one beyond a warning limit; 2-2s two in a row\n"
            "beyond the same warning limit; R-4s two neighbours more than 4 s apart; 10-x\n"
            "ten in a row on one side of the mean. A fixed tolerance may be set beside the\n"
            "program in StabLimits.txt, lines \"gain = 0.05\" (%) and \"kev = 0.3\" (keV);\n"
            "a drift beyond it is an action too.\n"
            "\n"
            "Environment:\n"
            "  LUMEN_PROGRAM_DIR  folder for STAB&FILE.DAT, StabData.txt and StabLimits.txt\n"
            "                     instead of the program's own\n"
            "  LUMEN_ROOT         the host's installation folder (default ~/Lumen); the\n"
            "                     report defaults to $LUMEN_ROOT/Temp/RESULTS.TXT\n"
            "  DISPLAY, WAYLAND_DISPLAY, QT_QPA_PLATFORM  where the window is shown\n"
            "\n"
            "Exit status:\n"
            "  0  appended and in control, at a warning or without limits yet; a reference\n"
            "     taken; a measurement not later than the reference (nothing appended);\n"
            "     the chart written\n"
            "  1  nothing could be appended, the settings were not saved, the tolerance\n"
            "     file could not be read, or the chart could not be written\n"
            "  2  no command word, or no display for the window\n"
            "  4  appended, but at an action limit or beyond the tolerance\n")};
}

} // namespace lumen::driftlog
