#include "sequa/core/check/RunEstimate.h"

#include "common/core/Clock.h"
#include "common/core/FixedText.h"
#include "common/core/Operator.h"
#include "common/core/Paths.h"
#include "common/core/ProcessLauncher.h"
#include "sequa/core/SequaProgram.h"
#include "sequa/core/check/CheckClock.h"
#include "sequa/core/check/CheckOperator.h"
#include "sequa/core/check/CountingLauncher.h"
#include "sequa/core/check/TrialHost.h"
#include "sequa/core/commands/CommandRunner.h"
#include "sequa/core/commands/CommandTable.h"
#include "sequa/core/files/LocalFiles.h"
#include "sequa/core/play/ScriptPlayer.h"
#include "sequa/core/recorder/ScriptButtons.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cmath>
#include <optional>

namespace lumen::sequa {

namespace {

constexpr qint64 kLargestCopiedFile = 1024 * 1024;

/** Sets environment variables for its lifetime and puts them back after. */
class EnvironmentOverride
{
public:
    void set(const char *name, const QString &value)
    {
        m_saved.push_back({name, qEnvironmentVariableIsSet(name)
                                     ? std::optional<QByteArray>(qgetenv(name))
                                     : std::nullopt});
        qputenv(name, QFile::encodeName(value));
    }
    ~EnvironmentOverride()
    {
        for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
            if (it->second)
                qputenv(it->first, *it->second);
            else
                qunsetenv(it->first);
        }
    }

private:
    std::vector<std::pair<const char *, std::optional<QByteArray>>> m_saved;
};

/** The platform layer as the play leaves it: whatever was installed goes back. */
class PlatformOverride
{
public:
    PlatformOverride(Clock &clock, Operator &op, ProcessLauncher &launcher)
        : m_clock(&currentClock()), m_operator(&currentOperator()), m_launcher(&currentLauncher())
    {
        setCurrentClock(&clock);
        setCurrentOperator(&op);
        setCurrentLauncher(&launcher);
    }
    ~PlatformOverride()
    {
        setCurrentLauncher(m_launcher);
        setCurrentOperator(m_operator);
        setCurrentClock(m_clock);
    }
    PlatformOverride(const PlatformOverride &) = delete;
    PlatformOverride &operator=(const PlatformOverride &) = delete;

private:
    Clock *m_clock;
    Operator *m_operator;
    ProcessLauncher *m_launcher;
};

/**
 * The lines as the play runs them. Lines that would delete or write files
 * where the script names them are disarmed: KillFile and GetDTName become
 * comments (they take no time), and a dead-time file named with a folder is
 * written in the scratch folder. The line count stays, so loops rewind alike.
 */
QStringList disarmed(const QStringList &lines, const QString &scratch)
{
    QStringList out;
    for (const QString &line : lines) {
        const QString trimmed = trimBlanks(line);
        const CommandRow *row =
            ScriptPlayer::isCommandLine(line) && !CommandTable::isConnectLine(line)
                ? CommandTable::match(trimmed)
                : nullptr;
        const QString keyword = row ? row->keyword : QString();
        if (keyword == QStringLiteral("KillFile") || keyword == QStringLiteral("GetDTName")) {
            out.append(QStringLiteral(";") + line);
        } else if (keyword == QStringLiteral("SaveDT") || keyword == QStringLiteral("StoreDT")) {
            const QString name = trimBlanks(midText(trimmed, row->argumentStart));
            out.append(
                LocalFiles::hasFolder(name)
                    ? keyword + QStringLiteral(" ") +
                          joinPath(scratch, QFileInfo(LocalFiles::nativeName(name)).fileName())
                    : line);
        } else {
            out.append(line);
        }
    }
    return out;
}

/** Copies the files of the program folder that the script names, so its Get lines read them. */
void copyNamedFiles(const QString &from, const QString &to, const QStringList &lines)
{
    if (from.isEmpty())
        return;
    const QString script = lines.join(QLatin1Char('\n'));
    for (const QFileInfo &file : QDir(from).entryInfoList(QDir::Files)) {
        if (file.size() <= kLargestCopiedFile &&
            script.contains(file.fileName(), Qt::CaseInsensitive))
            QFile::copy(file.absoluteFilePath(), joinPath(to, file.fileName()));
    }
}

QString makeFolder(const QTemporaryDir &scratch, const QString &name)
{
    const QString path = scratch.filePath(name);
    QDir().mkpath(path);
    return path;
}

} // namespace

RunEstimate RunEstimate::ofScript(const QStringList &lines, const ScriptCheckPlaces &places,
                                  const QStringList &answers, const CheckClock::Limits &limits,
                                  const JournalCheckpoint *resumeAt)
{
    QTemporaryDir scratch;
    const QString programFolder = makeFolder(scratch, QStringLiteral("program"));
    const QString root = makeFolder(scratch, QStringLiteral("root"));
    EnvironmentOverride environment;
    environment.set("LUMEN_PROGRAM_DIR", programFolder);
    environment.set("LUMEN_ROOT", root);
    environment.set("TMPDIR", makeFolder(scratch, QStringLiteral("tmp")));
    copyNamedFiles(places.programFolder, programFolder, lines);

    // Whole seconds at the start, as a run started by a scheduler would see them.
    QDateTime start = QDateTime::currentDateTime();
    start.setTime(QTime(start.time().hour(), start.time().minute(), start.time().second()));
    CheckClock clock(start, limits);
    CheckOperator op(answers);
    CountingLauncher launcher;
    PlatformOverride platform(clock, op, launcher);

    const std::shared_ptr<HostApp> host =
        createTrialHost(makeFolder(scratch, QStringLiteral("host")));

    RunEstimate estimate;
    {
        SequaProgram program([host](const QString &) { return host; });
        program.timer().followClock(clock);
        MainModel &model = program.model();
        model.setProgramFolder(programFolder);
        model.setDoNow(true);
        model.setScriptText(ScriptButtons::scriptFromLines(disarmed(lines, programFolder)));
        // Unattended as a scheduled run: waits nobody could end give up as they do there.
        model.runRecord().setUnattended(true);
        program.runner().setLineAnswered([&estimate](qint16 line, const QString &reply) {
            if (CommandRunner::isSuccess(reply))
                return;
            for (const LineFailure &known : estimate.failures) {
                if (known.line == line)
                    return; // the same line again, in a later pass
            }
            estimate.failures.push_back({line, reply});
        });
        ScriptPlayer player(model, program.runner());
        if (resumeAt) {
            // The trial resumes a scratch journal: the real one stays untouched.
            ResumePlan trial;
            trial.journal = trial.chainFirst = scratch.filePath(QStringLiteral("resumed.txt"));
            trial.checkpoint = *resumeAt;
            player.setResume(trial);
        }
        try {
            player.PlayScript(model.scriptText());
        } catch (const CheckClock::PlayAbandoned &abandoned) {
            estimate.complete = false;
            estimate.stopReason = abandoned.reason;
            estimate.stoppedAtLine = model.currentLine();
        }
    }
    estimate.seconds = clock.runSeconds();
    estimate.programsCounted = int(launcher.started().size());
    return estimate;
}

} // namespace lumen::sequa
