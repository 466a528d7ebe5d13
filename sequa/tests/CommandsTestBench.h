#pragma once

#include "common/core/TextFile.h"
#include "hostlink/testsupport/TestHost.h"
#include "sequa/core/files/DataFiles.h"
#include "sequa/tests/SequaTestBench.h"
#include "simhost/SimulatedHost.h"

#include <QDir>
#include <QTemporaryDir>

namespace lumen::sequa::test {

using lumen::test::HostCall;

/**
 * The program on the fake clock, connected and in Immediate Test Mode, its
 * program folder in a scratch directory, talking to a TestHost; or,
 * after useSimulatedHost(), to a simulated host of its own.
 */
class CommandsTestBench : public SequaTestBench
{
protected:
    CommandsTestBench()
    {
        model().setProgramFolder(m_folder.path());
        model().setHostFactory([this](const QString &) -> std::shared_ptr<HostApp> {
            if (m_simulated)
                return m_simulated;
            return m_recording;
        });
        connectWithDoNow();
    }

    /** A simulated host on a clock of its own that moves only when told. */
    SimulatedHost &useSimulatedHost(int channels = 8192, const QString &faults = QString())
    {
        SimulatedHostSettings settings;
        settings.seed = 7;
        settings.manualClock = true;
        settings.channels = channels;
        settings.start = m_clock.now();
        settings.dataFolder = m_folder.filePath(QStringLiteral("data"));
        settings.printFolder = m_folder.filePath(QStringLiteral("print"));
        settings.reportPath = m_folder.filePath(QStringLiteral("RESULTS.TXT"));
        if (!faults.isEmpty())
            settings.faults = HostFaults::parse(faults);
        m_simulated = std::make_shared<SimulatedHost>(settings);
        model().createHostAppObject();
        return *m_simulated;
    }

    /** Keeps the timer following the fake clock and calls `extra` on every advance too. */
    void alsoOnAdvance(std::function<void(qint64)> extra)
    {
        m_clock.onAdvance([this, extra, pending = qint64(0)](qint64 ms) mutable {
            pending += ms;
            while (pending >= MainModel::kTickMs) {
                pending -= MainModel::kTickMs;
                model().onTick();
            }
            extra(ms);
        });
    }

    /** Runs a line as an immediate command; the status box text afterwards. */
    QString run(const QString &line)
    {
        runner().ExecuteCommandLine(line, false);
        return model().statusText();
    }
    /** The reply of one dispatch. */
    QString reply(const QString &line)
    {
        QString copy = line;
        return runner().DispatchCommand(copy);
    }

    QString file(const QString &name) const { return m_folder.filePath(name); }
    QStringList linesOf(const QString &name) const { return textfile::readLines(file(name)); }
    QByteArray bytesOf(const QString &name) const
    {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile f(file(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }

    QTemporaryDir m_folder;
    std::shared_ptr<lumen::test::TestHost> m_recording = std::make_shared<lumen::test::TestHost>();
    std::shared_ptr<SimulatedHost> m_simulated;
};

} // namespace lumen::sequa::test
