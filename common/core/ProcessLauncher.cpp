#include "common/core/ProcessLauncher.h"

#include "common/core/EventPump.h"
#include "common/core/Failure.h"
#include "common/core/StopSignals.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QStandardPaths>
#include <memory>

namespace lumen {
namespace {
ProcessLauncher *g_launcher = nullptr;
}

QStringList ProcessLauncher::splitCommandLine(const QString &commandLine)
{
    return QProcess::splitCommand(commandLine.trimmed());
}

struct SystemProcessLauncher::Impl
{
    QHash<qint64, std::shared_ptr<QProcess>> processes;
};

SystemProcessLauncher::SystemProcessLauncher() : m_impl(std::make_unique<Impl>()) {}

SystemProcessLauncher::~SystemProcessLauncher()
{
    // What start() began is ours to wait for and ends with us (a program
    // meant to outlive us is started detached).
    for (auto &p : m_impl->processes) {
        p->disconnect();
        p->setParent(nullptr);
    }
}

// A bare program name is looked for beside the running program first, then
// in the current folder, then on the search path, as a Windows start does: a
// script that names "Ledgerly APPEND" finds the suite's own program wherever
// it is installed. The result is absolute, so that starting it never
// searches again.
QString ProcessLauncher::findProgram(const QString &program)
{
    const QFileInfo given(program);
    if (program.contains(u'/') || program.contains(u'\\'))
        return given.isFile() ? given.absoluteFilePath() : QString();
    if (QCoreApplication::instance()) {
        const QString beside =
            QStandardPaths::findExecutable(program, {QCoreApplication::applicationDirPath()});
        if (!beside.isEmpty())
            return beside;
    }
    if (given.isFile())
        return given.absoluteFilePath();
    return QStandardPaths::findExecutable(program);
}

namespace {
/** The program of a command line, found and executable, and its arguments; Failure when none. */
QStringList resolvedCommand(const QString &commandLine)
{
    QStringList words = ProcessLauncher::splitCommandLine(commandLine);
    if (words.isEmpty())
        throw Failure(QStringLiteral("File not found: no program named"));
    const QString resolved = ProcessLauncher::findProgram(words.first());
    if (resolved.isEmpty() || !QFileInfo(resolved).isExecutable())
        throw Failure(QStringLiteral("File not found: ") + words.first());
    words.first() = resolved;
    return words;
}
} // namespace

qint64 SystemProcessLauncher::startDetached(const QString &commandLine, bool minimized)
{
    Q_UNUSED(minimized) // a window style only means something on Windows
    QStringList words = resolvedCommand(commandLine);
    // Not a child of ours: neither our end nor a signal to us reaches it.
    QProcess process;
    process.setProgram(words.takeFirst());
    process.setArguments(words);
    qint64 pid = 0;
    if (!process.startDetached(&pid))
        throw Failure(QStringLiteral("Cannot start ") + process.program() + QStringLiteral(": ") +
                      process.errorString());
    return pid;
}

qint64 SystemProcessLauncher::start(const QString &commandLine, bool minimized)
{
    Q_UNUSED(minimized) // a window style only means something on Windows
    QStringList words = resolvedCommand(commandLine);
    const QString program = ProcessLauncher::splitCommandLine(commandLine).value(0);

    auto process = std::make_shared<QProcess>();
    process->setProgram(words.takeFirst());
    process->setArguments(words);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setInputChannelMode(QProcess::ForwardedInputChannel);
    process->start();
    if (!process->waitForStarted(10000))
        throw Failure(QStringLiteral("Cannot start ") + program + QStringLiteral(": ") +
                      process->errorString());
    const qint64 pid = process->processId();
    // Forget processes that ended, so a long script does not pile them up.
    for (auto it = m_impl->processes.begin(); it != m_impl->processes.end();) {
        if (it.value()->state() == QProcess::NotRunning)
            it = m_impl->processes.erase(it);
        else
            ++it;
    }
    m_impl->processes.insert(pid, process);
    return pid;
}

namespace {

/** SIGTERM, and SIGKILL when the grace runs out: a stop must not wait for the program. */
void endProcess(QProcess &process)
{
    process.terminate();
    if (!process.waitForFinished(ProcessLauncher::kEndGraceMs)) {
        process.kill();
        process.waitForFinished(-1);
    }
}

} // namespace

QString ProcessEnd::describe() const
{
    QString text;
    switch (how) {
    case How::Exited:
        text = QStringLiteral("exit status %1").arg(code);
        break;
    case How::Signalled: {
        const QString name = StopSignals::signalName(code);
        text = name.isEmpty() ? QStringLiteral("signal %1").arg(code)
                              : QStringLiteral("signal %1 (%2)").arg(code).arg(name);
        break;
    }
    case How::Unknown:
        text = QStringLiteral("an unknown end");
        break;
    }
    return ended ? text + QStringLiteral(", made to end by the stop") : text;
}

ProcessEnd SystemProcessLauncher::waitForEnd(qint64 pid, const std::function<bool()> &stopNow)
{
    auto it = m_impl->processes.find(pid);
    if (it == m_impl->processes.end())
        return {};
    std::shared_ptr<QProcess> process = it.value();
    bool ended = false;
    while (process->state() != QProcess::NotRunning) {
        if (stopNow && stopNow()) {
            endProcess(*process);
            ended = true;
            break;
        }
        if (!process->waitForFinished(20))
            pumpEvents();
    }
    m_impl->processes.remove(pid);
    ProcessEnd end;
    // Qt keeps a crashed program's signal number as its exit code.
    end.how = process->exitStatus() == QProcess::NormalExit ? ProcessEnd::How::Exited
                                                            : ProcessEnd::How::Signalled;
    end.code = process->exitCode();
    end.ended = ended;
    return end;
}

bool SystemProcessLauncher::isRunning(qint64 pid) const
{
    auto it = m_impl->processes.constFind(pid);
    return it != m_impl->processes.cend() && it.value()->state() != QProcess::NotRunning;
}

ProcessLauncher &currentLauncher()
{
    static SystemProcessLauncher system;
    return g_launcher ? *g_launcher : system;
}

void setCurrentLauncher(ProcessLauncher *launcher)
{
    g_launcher = launcher;
}

bool openInTextEditor(const QString &path, QString *error)
{
    return openInTextEditor(path, error, nullptr, {});
}

bool openInTextEditor(const QString &path, QString *error, QObject *context,
                      std::function<void(const QString &)> whenNotOpened)
{
    if (!QFileInfo(path).isFile()) {
        if (error)
            *error = QStringLiteral("File not found: ") + path;
        return false;
    }
#ifdef Q_OS_WIN
    const QString program = QStringLiteral("C:\\WINDOWS\\NOTEPAD.EXE");
    const QStringList args{path};
#else
    // The desktop's handler for text files; $VISUAL/$EDITOR would need a terminal.
    const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    const QStringList args{path};
#endif
    const QString noEditor = QStringLiteral("File not found: no text editor to open ") + path;
    if (program.isEmpty() || !context || !whenNotOpened) {
        if (program.isEmpty() || !QProcess::startDetached(program, args)) {
            if (error)
                *error = noEditor;
            return false;
        }
        return true;
    }
    // The opener starts at once but finds out only later that no viewer is
    // set up for text files; its exit status is the one sign of that.
    auto *process = new QProcess;
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    QObject::connect(process, &QProcess::finished, context,
                     [path, whenNotOpened](int code, QProcess::ExitStatus status) {
                         if (status != QProcess::NormalExit || code != 0)
                             whenNotOpened(QStringLiteral("No program opened %1: the desktop's "
                                                          "opener ended with status %2 (no viewer "
                                                          "for text files found?)")
                                               .arg(path)
                                               .arg(code));
                     });
    process->start(program, args);
    if (!process->waitForStarted(5000)) {
        delete process;
        if (error)
            *error = noEditor;
        return false;
    }
    return true;
}

} // namespace lumen
