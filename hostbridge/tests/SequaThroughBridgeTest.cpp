// The built Linux Sequa playing scripts on the project's test host through
// the Windows bridge, as a lab plays them on its real host.
#include "hostbridge/tests/WineBridge.h"

#include <QDir>
#include <QFile>
#include <QThread>
#include <gtest/gtest.h>

using lumen::test::ProgramFolder;
using lumen::test::ProgramRun;
using lumen::test::WineBridge;

namespace {

class SequaThroughBridge : public ::testing::Test
{
protected:
    SequaThroughBridge()
    {
        m_lab.environment().insert(QStringLiteral("LUMEN_HOST"),
                                   QStringLiteral("tcp://127.0.0.1:%1").arg(m_bridge->port()));
    }

    QString script(const QString &name, const QStringList &lines)
    {
        const QString path = m_lab.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(lines.join(QStringLiteral("\r\n")).toLatin1() + "\r\n");
        return path;
    }
    /** The text of every journal the runs left. */
    QString journals() const
    {
        const QDir dir(m_lab.filePath(QStringLiteral("journal")));
        QString text;
        for (const QString &name : dir.entryList(QDir::Files, QDir::Name)) {
            QFile f(dir.filePath(name));
            if (f.open(QIODevice::ReadOnly))
                text += QString::fromLatin1(f.readAll());
        }
        return text;
    }

    std::unique_ptr<WineBridge> m_bridge = std::make_unique<WineBridge>();
    ProgramFolder m_lab{{QStringLiteral(LUMEN_SEQUA_EXE)}};
    const QStringList m_sound = {
        "ConnectLMN", "SetPrimary 1",  "SelectLibQC.LIB", "PresetsOff", "SetRealPreset 2",
        "PresetsOn",  "EraseSpectrum", "StartAcquire",    "WaitPreset", "StopAcquire"};
};

} // namespace

TEST_F(SequaThroughBridge, ASoundScriptEndsZero)
{
    const ProgramRun ran = m_lab.run({script(QStringLiteral("sound.lsf"), m_sound)});
    EXPECT_EQ(ran.status, 0) << ran.err.toStdString() << journals().toStdString();
}

TEST_F(SequaThroughBridge, ALineTheHostRaisesOnEndsThreeWithItsDescription)
{
    const ProgramRun ran =
        m_lab.run({script(QStringLiteral("faulty.lsf"), {"ConnectLMN", "SelectLibFAULTY.LIB"})});
    EXPECT_EQ(ran.status, 3) << ran.err.toStdString();
    EXPECT_TRUE(journals().contains(QStringLiteral("Cannot read FAULTY.LIB: the file is damaged")))
        << journals().toStdString();
}

TEST_F(SequaThroughBridge, AWrongKeyIsNoConnection)
{
    QProcessEnvironment env = lumen::test::bridgeEnvironment();
    env.insert(QStringLiteral("LUMEN_HOST_TOKEN"), QStringLiteral("the-lab-key"));
    m_bridge.reset();
    m_bridge = std::make_unique<WineBridge>(QStringList{}, env);
    m_lab.environment().insert(QStringLiteral("LUMEN_HOST"),
                               QStringLiteral("tcp://127.0.0.1:%1").arg(m_bridge->port()));
    m_lab.environment().insert(QStringLiteral("LUMEN_HOST_TOKEN"), QStringLiteral("a-guess"));
    const ProgramRun ran =
        m_lab.run({script(QStringLiteral("keyed.lsf"), {"ConnectLMN", "StartAcquire"})});
    EXPECT_EQ(ran.status, 1) << ran.err.toStdString();
    EXPECT_TRUE(ran.err.contains(QStringLiteral("No Connection"))) << ran.err.toStdString();
    EXPECT_TRUE(journals().contains(QStringLiteral("Wrong key for this host bridge")))
        << journals().toStdString();
}

TEST_F(SequaThroughBridge, ASecondRunWhileOnePlaysIsRefusedWithTheHoldersName)
{
    QStringList slow = m_sound;
    slow.replace(4, QStringLiteral("SetRealPreset 6"));
    auto first = m_lab.start(QString(), {script(QStringLiteral("first.lsf"), slow)});
    // The second starts once the first holds the host, counting.
    for (int i = 0; i < 200 && !journals().contains(QStringLiteral("StartAcquire")); ++i)
        QThread::msleep(50);
    const ProgramRun second =
        m_lab.run({script(QStringLiteral("second.lsf"), {"ConnectLMN", "StartAcquire"})});
    EXPECT_EQ(second.status, 2) << "nothing played: " << second.err.toStdString();
    EXPECT_TRUE(second.err.contains(QStringLiteral("The host is held by Sequa")))
        << second.err.toStdString();
    EXPECT_EQ(ProgramFolder::finish(*first).status, 0) << "the first plays on";
}

TEST_F(SequaThroughBridge, AHostKilledBetweenTwoRunsIsStartedAgainByTheNext)
{
    const QString sound = script(QStringLiteral("sound.lsf"), m_sound);
    EXPECT_EQ(m_lab.run({sound}).status, 0);
    // The host application ends as if killed; the bridge stays.
    QProcess::execute(QStringLiteral(LUMEN_WINE),
                      {QStringLiteral("taskkill"), QStringLiteral("/F"), QStringLiteral("/IM"),
                       QStringLiteral("lumen-test-host.exe")});
    const ProgramRun again = m_lab.run({sound});
    EXPECT_EQ(again.status, 0) << again.err.toStdString() << journals().toStdString();
}
