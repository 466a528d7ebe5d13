#pragma once

#include <functional>

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QObject;

namespace lumen {

/** How a started program ended, as a journal and a status need to tell it. */
struct ProcessEnd
{
    enum class How
    {
        Exited,    ///< ended by itself; `code` is its exit status
        Signalled, ///< ended by a signal; `code` is the signal's number
        Unknown    ///< cannot be waited for (never started here, or already forgotten)
    };
    How how = How::Unknown;
    int code = -1;
    /** True when the wait was asked to stop and the program was made to end. */
    bool ended = false;

    bool succeeded() const { return how == How::Exited && code == 0 && !ended; }
    /** "exit status 3", "signal 9 (SIGKILL)", "an unknown end". */
    QString describe() const;
};

/**
 * Starts other programs from a command line and waits for them. The window
 * style (normal or minimised) is a hint only off Windows.
 */
class ProcessLauncher
{
public:
    virtual ~ProcessLauncher() = default;

    /**
     * Starts the program of `commandLine` (program, blank, arguments; quotes
     * group words) and returns its process id. Throws Failure when the
     * program cannot be started ("File not found: " + program).
     */
    virtual qint64 start(const QString &commandLine, bool minimized) = 0;
    /**
     * The same for a program that is not the caller's to end: it goes on
     * after the caller ends, however the caller ends, and is never waited
     * for. A stand-in launcher may keep this default, which starts as
     * start() does.
     */
    virtual qint64 startDetached(const QString &commandLine, bool minimized)
    {
        return start(commandLine, minimized);
    }
    /**
     * Waits until the process ends, pumping window events meanwhile. Once
     * `stopNow` answers true the process is asked to end (SIGTERM) and,
     * still running after `kEndGraceMs`, killed; the end then says `ended`.
     */
    virtual ProcessEnd waitForEnd(qint64 pid, const std::function<bool()> &stopNow = {}) = 0;
    /** How long a program asked to end may take before it is killed. */
    static constexpr int kEndGraceMs = 2000;
    virtual bool isRunning(qint64 pid) const = 0;

    /** Splits a command line into program and arguments (quotes group words). */
    static QStringList splitCommandLine(const QString &commandLine);
    /**
     * Where a start would find the program: a name with a folder as given,
     * a bare name beside the running program, then in the current folder,
     * then on the search path. Absolute; empty when there is none.
     */
    static QString findProgram(const QString &program);
};

/** The real launcher, over QProcess; processes it starts are reaped when they end. */
class SystemProcessLauncher : public ProcessLauncher
{
public:
    SystemProcessLauncher();
    ~SystemProcessLauncher() override;
    qint64 start(const QString &commandLine, bool minimized) override;
    qint64 startDetached(const QString &commandLine, bool minimized) override;
    ProcessEnd waitForEnd(qint64 pid, const std::function<bool()> &stopNow = {}) override;
    bool isRunning(qint64 pid) const override;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

/** The launcher in use (the system one unless a test installs another). */
ProcessLauncher &currentLauncher();
void setCurrentLauncher(ProcessLauncher *launcher);

/**
 * Opens a text file in the text editor without waiting (the design's
 * NOTEPAD). Returns false with `error` set when no editor could be started
 * or the file does not exist.
 */
bool openInTextEditor(const QString &path, QString *error = nullptr);

/**
 * The same, and when the desktop's opener ends later without having opened
 * the file (no viewer for text files), `whenNotOpened` is called with the
 * reason, while `context` still exists.
 */
bool openInTextEditor(const QString &path, QString *error, QObject *context,
                      std::function<void(const QString &)> whenNotOpened);

} // namespace lumen
