// A scratch lab: the four programs side by side in one folder, as a lab
// installs them, with the example scripts, a Lumen folder for the simulated
// host and a temporary folder of its own, so that a test can see every file
// a run leaves behind.
#pragma once

#include "common/core/Failure.h"
#include "common/core/TextFile.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QUuid>
#include <gtest/gtest.h>
#include <optional>

struct ProgramRun
{
    int exitCode = -1;
    bool finished = false;
    QString out;
    QString err;
};

class LabFolder
{
public:
    LabFolder()
    {
        QDir top(m_top.path());
        top.mkpath(QStringLiteral("lab/spectra"));
        top.mkpath(QStringLiteral("Lumen/Temp"));
        top.mkpath(QStringLiteral("Lumen/Data"));
        top.mkpath(QStringLiteral("tmp"));
        for (const char *exe : {SEQUA_EXE, LEDGERLY_EXE, DRIFTLOG_EXE, TRANSPEC_EXE})
            install(QString::fromLocal8Bit(exe));
        const QDir examples(QStringLiteral(LUMEN_SOURCE_DIR "/examples"));
        for (const QString &name : examples.entryList({QStringLiteral("*.lsf")}, QDir::Files))
            QFile::copy(examples.filePath(name), lab(name));
        QFile::copy(examples.filePath(QStringLiteral("spectra/CHECK01.CHN")),
                    lab(QStringLiteral("spectra/CHECK01.CHN")));
    }

    QString lab(const QString &name = QString()) const
    {
        return name.isEmpty() ? m_top.filePath(QStringLiteral("lab"))
                              : m_top.filePath(QStringLiteral("lab/") + name);
    }
    QString lumen(const QString &name) const
    {
        return m_top.filePath(QStringLiteral("Lumen/") + name);
    }
    QString database() const { return lumen(QStringLiteral("RESULTS.MDB")); }
    QString example(const QString &name) const
    {
        return QStringLiteral(LUMEN_SOURCE_DIR "/examples/") + name;
    }

    /** Sequa's temporary play files and run logs (SDE*, SLG*) left in the temporary folder. */
    QStringList temporaryFilesLeft() const
    {
        return QDir(m_top.filePath(QStringLiteral("tmp")))
            .entryList({QStringLiteral("SDE*"), QStringLiteral("SLG*")}, QDir::Files);
    }

    void writeScript(const QString &name, const QStringList &lines) const
    {
        QFile file(lab(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(lines.join(QStringLiteral("\r\n")).toLatin1() + "\r\n");
    }

    /** What every program of the lab runs with: no display, the fast simulated host. */
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.remove(QStringLiteral("LUMEN_ANSWERS"));
        env.remove(QStringLiteral("LUMEN_PROGRAM_DIR"));
        env.insert(QStringLiteral("LUMEN_ROOT"), m_top.filePath(QStringLiteral("Lumen")));
        env.insert(QStringLiteral("TMPDIR"), m_top.filePath(QStringLiteral("tmp")));
        env.insert(QStringLiteral("LUMEN_HOST"), QStringLiteral("sim"));
        env.insert(QStringLiteral("LUMEN_HOST_SPEED"), QStringLiteral("600"));
        env.insert(QStringLiteral("LUMEN_HOST_SEED"), QStringLiteral("11"));
        return env;
    }

    void start(QProcess &process, const QString &program, const QStringList &args,
               const QProcessEnvironment &env) const
    {
        process.setWorkingDirectory(lab());
        process.setProcessEnvironment(env);
        process.start(lab(program), args);
        ASSERT_TRUE(process.waitForStarted(10000)) << qPrintable(program);
    }

    ProgramRun run(const QString &program, const QStringList &args, const QProcessEnvironment &env,
                   int timeoutMs = 120000) const
    {
        QProcess process;
        ProgramRun result;
        start(process, program, args, env);
        result.finished = process.waitForFinished(timeoutMs);
        if (!result.finished) {
            process.kill();
            process.waitForFinished(5000);
        }
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.out = QString::fromLocal8Bit(process.readAllStandardOutput());
        result.err = QString::fromLocal8Bit(process.readAllStandardError());
        return result;
    }

    ProgramRun run(const QString &program, const QStringList &args) const
    {
        return run(program, args, environment());
    }

    /** Number of records of "SamData", -1 when the database cannot be read. */
    int recordCount() const
    {
        return firstNumber(QStringLiteral("SELECT COUNT(*) FROM \"SamData\"")).value_or(-1);
    }

    QStringList columnNames() const
    {
        QStringList names;
        withDatabase([&](QSqlDatabase &db) {
            const QSqlRecord record = db.record(QStringLiteral("SamData"));
            for (int i = 0; i < record.count(); ++i)
                names << record.fieldName(i);
        });
        return names;
    }

    /** The lines of a text file the programs wrote; none when it cannot be read. */
    QStringList textLines(const QString &path) const
    {
        try {
            return lumen::textfile::readLines(path);
        } catch (const lumen::Failure &) {
            return {};
        }
    }

    /** Sequa's run journals in the lab folder, oldest first. */
    QStringList journals() const
    {
        const QDir dir(lab(QStringLiteral("journal")));
        QStringList paths;
        for (const QString &name : dir.entryList(QDir::Files, QDir::Name))
            paths << dir.filePath(name);
        return paths;
    }

    /** The whole text of a file; empty when it cannot be read. */
    QString text(const QString &path) const { return textLines(path).join(u'\n'); }

    QString lastJournal() const
    {
        return journals().isEmpty() ? QString() : text(journals().last());
    }

    /** The day's ROI log name, as Sequa forms it from the date of the run. */
    static QString roiLogName(const QDate &day)
    {
        return QStringLiteral("ROI_Data_") + day.toString(QStringLiteral("yyMMdd")) +
               QStringLiteral(".txt");
    }

private:
    void install(const QString &exe)
    {
        const QString copy = lab(QFileInfo(exe).fileName());
        ASSERT_TRUE(QFile::copy(exe, copy)) << qPrintable(exe);
        QFile::setPermissions(copy, QFile::permissions(copy) | QFile::ExeOwner);
    }

    template <typename Use> void withDatabase(Use use) const
    {
        const QString name = QUuid::createUuid().toString();
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(database());
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
            if (QFile::exists(database()) && db.open())
                use(db);
        }
        QSqlDatabase::removeDatabase(name);
    }

    std::optional<int> firstNumber(const QString &sql) const
    {
        std::optional<int> number;
        withDatabase([&](QSqlDatabase &db) {
            QSqlQuery q(db);
            if (q.exec(sql) && q.next())
                number = q.value(0).toInt();
        });
        return number;
    }

    QTemporaryDir m_top;
};
