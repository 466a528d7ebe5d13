#include "common/testsupport/ProgramFolder.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <gtest/gtest.h>

namespace lumen::test {

namespace {

/** The shell's environment less what would make a run depend on the shell. */
QProcessEnvironment headlessEnvironment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString &key : env.keys())
        if (key.startsWith(QLatin1String("LUMEN_")))
            env.remove(key);
    for (const char *key : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(key));
    // A sanitizer's finding in a program ends it with a signal, not with
    // status 1, which the programs also give for ordinary failures.
    for (const char *key : {"ASAN_OPTIONS", "UBSAN_OPTIONS"}) {
        const QString name = QString::fromLatin1(key);
        const QString options = env.value(name);
        env.insert(name, (options.isEmpty() ? QString() : options + u':') +
                             QStringLiteral("abort_on_error=1"));
    }
    return env;
}

QString describe(const QProcess &process)
{
    return (QStringList{QFileInfo(process.program()).fileName()} + process.arguments()).join(u' ');
}

} // namespace

ProgramFolder::ProgramFolder(const QStringList &builtPrograms)
{
    EXPECT_TRUE(m_top.isValid());
    const QDir top(m_top.path());
    for (const char *folder : {"lab", "home/Lumen", "tmp"})
        EXPECT_TRUE(top.mkpath(QString::fromLatin1(folder)));
    for (const QString &built : builtPrograms) {
        const QString copy = filePath(QFileInfo(built).fileName());
        EXPECT_TRUE(QFile::copy(built, copy)) << built.toStdString();
        QFile::setPermissions(copy, QFile::permissions(copy) | QFile::ExeOwner);
        if (m_first.isEmpty())
            m_first = QFileInfo(built).fileName();
    }
    m_environment = headlessEnvironment();
    m_environment.insert(QStringLiteral("HOME"), home());
    m_environment.insert(QStringLiteral("LUMEN_ROOT"), root());
    m_environment.insert(QStringLiteral("TMPDIR"), tmp());
    m_workingDirectory = path();
}

QString ProgramFolder::path() const
{
    return m_top.filePath(QStringLiteral("lab"));
}

QString ProgramFolder::filePath(const QString &name) const
{
    return m_top.filePath(QStringLiteral("lab/") + name);
}

QString ProgramFolder::root(const QString &name) const
{
    return m_top.filePath(name.isEmpty() ? QStringLiteral("home/Lumen")
                                         : QStringLiteral("home/Lumen/") + name);
}

QString ProgramFolder::tmp(const QString &name) const
{
    return m_top.filePath(name.isEmpty() ? QStringLiteral("tmp") : QStringLiteral("tmp/") + name);
}

QString ProgramFolder::home() const
{
    return m_top.filePath(QStringLiteral("home"));
}

ProgramRun ProgramFolder::run(const QStringList &args, int timeoutMs) const
{
    return run(m_first, args, m_environment, timeoutMs);
}

ProgramRun ProgramFolder::run(const QString &program, const QStringList &args, int timeoutMs) const
{
    return run(program, args, m_environment, timeoutMs);
}

ProgramRun ProgramFolder::run(const QString &program, const QStringList &args,
                              const QProcessEnvironment &env, int timeoutMs) const
{
    const auto process = start(program, args, env);
    return finish(*process, timeoutMs);
}

std::unique_ptr<QProcess> ProgramFolder::start(const QString &program,
                                               const QStringList &args) const
{
    return start(program, args, m_environment);
}

std::unique_ptr<QProcess> ProgramFolder::start(const QString &program, const QStringList &args,
                                               const QProcessEnvironment &env) const
{
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(env);
    process->setWorkingDirectory(m_workingDirectory);
    process->start(filePath(program.isEmpty() ? m_first : program), args);
    return process;
}

ProgramRun ProgramFolder::finish(QProcess &process, int timeoutMs)
{
    ProgramRun run;
    if (!process.waitForStarted(10000) && process.error() == QProcess::FailedToStart) {
        ADD_FAILURE() << describe(process).toStdString() << " did not start";
        return run;
    }
    // waitForFinished() is false for a program that has ended already.
    const bool ended =
        process.state() == QProcess::NotRunning || process.waitForFinished(timeoutMs);
    if (!ended) {
        process.kill();
        process.waitForFinished(10000);
    }
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    if (!ended)
        ADD_FAILURE() << describe(process).toStdString() << " did not end within " << timeoutMs
                      << " ms\n"
                      << run.err.toStdString();
    else if (process.exitStatus() != QProcess::NormalExit)
        ADD_FAILURE() << describe(process).toStdString() << " crashed (signal "
                      << process.exitCode() << ")\n"
                      << run.err.toStdString();
    else
        run.status = process.exitCode();
    return run;
}

QString ProgramFolder::listeningAt(QProcess &server, int timeoutMs)
{
    static const QRegularExpression listening(QStringLiteral("Listening on (\\S+:\\d+)\n"));
    QString said;
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        server.waitForReadyRead(int(std::min<qint64>(deadline.remainingTime(), 200)));
        said += QString::fromLocal8Bit(server.readAllStandardOutput());
        if (const auto match = listening.match(said); match.hasMatch())
            return match.captured(1);
        if (server.state() == QProcess::NotRunning) {
            // finish() has failed the test already on a crash or a start that failed.
            const ProgramRun ended = finish(server);
            if (ended.status >= 0)
                ADD_FAILURE() << describe(server).toStdString() << " ended with status "
                              << ended.status << " before it listened\n"
                              << (said + ended.err).toStdString();
            return {};
        }
    }
    ADD_FAILURE() << describe(server).toStdString() << " did not say where it listens within "
                  << timeoutMs << " ms\n"
                  << said.toStdString();
    return {};
}

} // namespace lumen::test
