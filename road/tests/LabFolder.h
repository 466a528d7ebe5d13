// A scratch lab: the four programs side by side in one folder, as a lab
// installs them, with the example scripts, a Lumen folder for the simulated
// host and a temporary folder of its own, so that a test can see every file
// a run leaves behind.
#pragma once

#include "common/core/Failure.h"
#include "common/core/TextFile.h"
#include "common/testsupport/ProgramFolder.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>
#include <QUuid>
#include <gtest/gtest.h>
#include <optional>

using lumen::test::ProgramRun;

class LabFolder : public lumen::test::ProgramFolder
{
public:
    /** A whole batch at 600 times the host's speed, also under the sanitizers. */
    static constexpr int kRunTimeoutMs = 120000;

    LabFolder() : ProgramFolder({SEQUA_EXE, LEDGERLY_EXE, DRIFTLOG_EXE, TRANSPEC_EXE})
    {
        QDir(path()).mkpath(QStringLiteral("spectra"));
        QDir(root()).mkpath(QStringLiteral("Temp"));
        QDir(root()).mkpath(QStringLiteral("Data"));
        const QDir examples(QStringLiteral(LUMEN_SOURCE_DIR "/examples"));
        for (const QString &name : examples.entryList({QStringLiteral("*.lsf")}, QDir::Files))
            QFile::copy(examples.filePath(name), lab(name));
        QFile::copy(examples.filePath(QStringLiteral("spectra/CHECK01.CHN")),
                    lab(QStringLiteral("spectra/CHECK01.CHN")));
        // What every program of the lab runs with: the fast simulated host.
        environment().insert(QStringLiteral("LUMEN_HOST"), QStringLiteral("sim"));
        environment().insert(QStringLiteral("LUMEN_HOST_SPEED"), QStringLiteral("600"));
        environment().insert(QStringLiteral("LUMEN_HOST_SEED"), QStringLiteral("11"));
    }

    QString lab(const QString &name = QString()) const
    {
        return name.isEmpty() ? path() : filePath(name);
    }
    QString lumen(const QString &name) const { return root(name); }
    QString database() const { return lumen(QStringLiteral("RESULTS.MDB")); }
    QString example(const QString &name) const
    {
        return QStringLiteral(LUMEN_SOURCE_DIR "/examples/") + name;
    }

    /** Sequa's temporary play files and run logs (SDE*, SLG*) left in the temporary folder. */
    QStringList temporaryFilesLeft() const
    {
        return QDir(tmp()).entryList({QStringLiteral("SDE*"), QStringLiteral("SLG*")}, QDir::Files);
    }

    void writeScript(const QString &name, const QStringList &lines) const
    {
        QFile file(lab(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(lines.join(QStringLiteral("\r\n")).toLatin1() + "\r\n");
    }

    ProgramRun run(const QString &program, const QStringList &args,
                   const QProcessEnvironment &env) const
    {
        return ProgramFolder::run(program, args, env, kRunTimeoutMs);
    }
    ProgramRun run(const QString &program, const QStringList &args) const
    {
        return ProgramFolder::run(program, args, kRunTimeoutMs);
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

    /**
     * Waits for the journal a run writes before it plays anything: the one
     * not among `known`. Empty when none came while the run went on.
     */
    QString awaitNewJournal(const QStringList &known, const QProcess &run,
                            int timeoutMs = 30000) const
    {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < timeoutMs) {
            QStringList added = journals();
            for (const QString &old : known)
                added.removeOne(old);
            if (!added.isEmpty())
                return added.first();
            if (run.state() == QProcess::NotRunning)
                return {};
            QThread::msleep(5);
        }
        return {};
    }

    /** The whole text of a file; empty when it cannot be read. */
    QString text(const QString &path) const { return textLines(path).join(u'\n'); }

    QString lastJournal() const
    {
        return journals().isEmpty() ? QString() : text(journals().last());
    }

    /** Starts `hostsim --listen 0`: its port, 0 (a failed test) when it did not listen. */
    static int startHostBridge(QProcess &bridge, const QProcessEnvironment &env)
    {
        bridge.setProcessEnvironment(env);
        bridge.start(QStringLiteral(HOSTSIM_EXE),
                     {QStringLiteral("--listen"), QStringLiteral("0")});
        return listeningAt(bridge).section(u':', -1).toInt();
    }

    /** The day's ROI log name, as Sequa forms it from the date of the run. */
    static QString roiLogName(const QDate &day)
    {
        return QStringLiteral("ROI_Data_") + day.toString(QStringLiteral("yyMMdd")) +
               QStringLiteral(".txt");
    }

private:
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
};
