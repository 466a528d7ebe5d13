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
        out << "Driftlog: appended " << model.text("ElapsedText") << " min, "
            << model.text(*mode == DriftlogModel::kGainMode ? "PercentDrift" : "keVdrift") << ' '
            << model.unit() << '\n';
        if (const auto &verdict = model.verdict()) {
            for (const Verdict &v : verdict->verdicts)
                out << "Driftlog: " << v.quantity << ": " << v.text() << '\n';
            out << "Driftlog: verdict: " << verdict->headline() << '\n';
            if (verdict->correction)
                out << "Driftlog: " << verdict->correction->text() << '\n';
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
        out << "Driftlog: new reference " << model.text("CenterText") << " keV at "
            << model.reference()->date << ' ' << model.reference()->time << '\n';
        break;
    case AppendOutcome::AlreadyLogged:
        err << "Driftlog: nothing appended: " << model.lastError() << '\n';
        status = kAlreadyLogged;
        break;
    case AppendOutcome::ReplayOfReference:
        out << "Driftlog: " << model.statusText() << '\n';
        break;
    case AppendOutcome::NotLater:
        out << "Driftlog: measurement not later than the reference (" << model.text("ElapsedText")
            << " min), nothing appended\n";
        break;
    default:
        err << "Driftlog: nothing appended: " << model.lastError() << '\n';
        status = 1;
        break;
    }
    if (!model.qcError().isEmpty()) {
        err << "Driftlog: StabQC.csv not written: " << model.qcError() << '\n';
        status = std::max(status, 1);
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
            "  --chart FILE.png draw the drift, FWHM and rate charts of the logs' last\n"
            "                   series into FILE.png, three panels over one time axis\n"
            "                   dated from the reference, each scaled to its points and\n"
            "                   limits (no display needed)\n"
            "\n"
            "The report path and the reference are kept in STAB&FILE.DAT, the log in\n"
            "StabData.txt, both beside the program. The first run of a new (or emptied) log\n"
            "takes the reference and writes the line \"0 0\"; each later run appends the\n"
            "minutes since the reference and the drift.\n"
            "\n"
            "QC log: each append also writes one line to StabQC.csv beside StabData.txt\n"
            "(CSV with a header line): date_time (with UTC offset), minutes, centre_keV,\n"
            "drift_percent, drift_keV, fwhm_keV, net_area, live_time_s, count_rate_cps\n"
            "(net area / live time), decay_corrected_rate_cps (to the reference's date),\n"
            "run, run_pass, run_line (LUMEN_RUN, LUMEN_RUN_PASS, LUMEN_RUN_LINE when a Sequa\n"
            "run started the program), report_sha256 and replaced_by. The centre, FWHM and\n"
            "net area come from the report's last peak line, the live time from its LT:\n"
            "line. A log without StabQC.csv starts it at the next append; a log of the\n"
            "first ten columns gains the new ones, empty, at its next append.\n"
            "\n"
            "One point a measurement: a check a run plays again (same run, pass and line,\n"
            "e.g. after a resume) replaces its earlier point: StabData.txt gets its line as\n"
            "every append does, the earlier line of StabQC.csv is marked in replaced_by\n"
            "with the new one's date_time, and the rules and the chart count only the new\n"
            "point. A check played again that took the reference adds no point. The same\n"
            "report (same bytes) or the same measurement (date, time and centre) appended\n"
            "again is refused (status 7). Append needs a report read first.\n"
            "\n"
            "Three quantities are judged at each point: the drift (both ways), the FWHM\n"
            "(upward only) and the count rate (both ways; decay-corrected when a half-life\n"
            "is set). Limits come from the first 20 points after the reference: mean,\n"
            "warning at +-2 s, action at +-3 s (s: their standard deviation). Rules:\n"
            "  1-3s   one point beyond an action limit                     action\n"
            "  1-2s   one point beyond a warning limit                     warning\n"
            "  2-2s   two in a row beyond the same warning limit           warning\n"
            "  R-4s   two neighbours more than 4 s apart                   warning\n"
            "  10-x   ten in a row on one side of the mean                 warning\n"
            "  ewma   moving average (lambda 0.2) beyond 3 of its sigmas   action\n"
            "  cusum  tabular CUSUM (k 0.5 s) beyond h = 5 s               action\n"
            "  tolerance  beyond the fixed tolerance, when set             action\n"
            "The verdict names quantity and rule, e.g. \"action: FWHM cusum\" or\n"
            "\"warning: drift 2-2s\", else \"in control\" or \"no limits yet\". At an action\n"
            "of the drift it gives the correction: gain x reference/measured centre (six\n"
            "digits) or the keV shift.\n"
            "\n"
            "StabLimits.txt beside the program (optional), one \"key = value\" a line:\n"
            "  gain = 0.05       % drift tolerance in \"% Gain drift\" mode\n"
            "  kev = 0.3         keV drift tolerance in \"keV drift\" mode\n"
            "  fwhm = 2.2        FWHM upper tolerance, keV\n"
            "  rate = 5          count-rate tolerance, % of the reference's rate\n"
            "  halflife = 30.08 y   the check source's half-life (s, min, h, d, y)\n"
            "  rules = 1-3s 2-2s R-4s 10-x ewma cusum   the rules checked (default: all)\n"
            "\n"
            "Environment:\n"
            "  LUMEN_PROGRAM_DIR  folder for STAB&FILE.DAT, StabData.txt and StabLimits.txt\n"
            "                     instead of the program's own\n"
            "  LUMEN_ROOT         the host's installation folder (default ~/Lumen); the\n"
            "                     report defaults to $LUMEN_ROOT/Temp/RESULTS.TXT\n"
            "  LUMEN_RUN, LUMEN_RUN_PASS, LUMEN_RUN_LINE  set by Sequa for the programs a\n"
            "                     run starts: the run, pass and line of the measurement\n"
            "  DISPLAY, WAYLAND_DISPLAY, QT_QPA_PLATFORM  where the window is shown\n"
            "\n"
            "Exit status:\n"
            "  0  appended and in control, at a warning or without limits yet; a reference\n"
            "     taken; a measurement not later than the reference, or the reference's\n"
            "     check played again (nothing appended); the chart written\n"
            "  1  nothing could be appended (no report to read among the reasons), the\n"
            "     settings were not saved, StabLimits.txt could not be read, StabQC.csv\n"
            "     not written, or the chart not written\n"
            "  2  no command word, or no display for the window\n"
            "  4  appended, but some quantity is at an action (logged all the same)\n"
            "  7  already logged: the same report (same bytes) or the same measurement\n"
            "     (date, time and centre) is in StabQC.csv; nothing appended\n")};
}

} // namespace lumen::driftlog
