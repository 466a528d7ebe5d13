#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace lumen::test {

/** What one run of a program gave. */
struct ProgramRun
{
    /** The exit status; -1 when the run crashed or outlasted its time-out (the test has failed). */
    int status = -1;
    QString out;
    QString err;
};

/**
 * A scratch lab for runs of built programs: each program copied into the
 * lab folder (`path()`), beside it a scratch HOME holding `LUMEN_ROOT` and a
 * TMPDIR of its own, no display and no LUMEN_ setting taken from the shell.
 * A run that crashes or outlasts its time-out fails the test: neither ever
 * reads as an exit status, since a signal's number looks like a status.
 */
class ProgramFolder
{
public:
    static constexpr int kTimeoutMs = 60000;

    /** Copies each built program (a path) into the lab folder. */
    explicit ProgramFolder(const QStringList &builtPrograms);

    /** The lab folder, and a file in it (named as QTemporaryDir names them). */
    QString path() const;
    QString filePath(const QString &name) const;
    /** A file below `$LUMEN_ROOT`. */
    QString root(const QString &name = QString()) const;
    /** A file in the runs' TMPDIR. */
    QString tmp(const QString &name = QString()) const;
    QString home() const;

    /** What every run starts with; a test may add or remove settings. */
    QProcessEnvironment &environment() { return m_environment; }
    const QProcessEnvironment &environment() const { return m_environment; }
    /** Where runs start: the lab folder unless a test says otherwise. */
    void setWorkingDirectory(const QString &dir) { m_workingDirectory = dir; }

    /** Runs the first program to its end. */
    ProgramRun run(const QStringList &args, int timeoutMs = kTimeoutMs) const;
    /** Runs a program of the lab folder, by file name, to its end. */
    ProgramRun run(const QString &program, const QStringList &args,
                   int timeoutMs = kTimeoutMs) const;
    ProgramRun run(const QString &program, const QStringList &args, const QProcessEnvironment &env,
                   int timeoutMs = kTimeoutMs) const;

    /** Starts a program of the lab folder (empty: the first) and leaves it running. */
    std::unique_ptr<QProcess> start(const QString &program, const QStringList &args) const;
    std::unique_ptr<QProcess> start(const QString &program, const QStringList &args,
                                    const QProcessEnvironment &env) const;

    /**
     * Waits for a started program to end and takes what it wrote; a crash,
     * a time-out (the program is then killed) or a start that failed fails
     * the test.
     */
    static ProgramRun finish(QProcess &process, int timeoutMs = kTimeoutMs);

    /**
     * Waits for a started server to say "Listening on ADDRESS:PORT" (as
     * `hostsim --listen` does) and gives "ADDRESS:PORT"; a server that ends
     * or crashes first, or stays silent past the time-out, fails the test and
     * gives an empty text. End the server with finish(), or kill it.
     */
    static QString listeningAt(QProcess &server, int timeoutMs = 20000);

private:
    QTemporaryDir m_top;
    QString m_first;
    QProcessEnvironment m_environment;
    QString m_workingDirectory;
};

} // namespace lumen::test
