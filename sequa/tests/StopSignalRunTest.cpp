// A stop signal during a call blocked on a host bridge that never answers.
#include "common/testsupport/ProgramFolder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <csignal>
#include <gtest/gtest.h>

#ifdef SEQUA_EXE

namespace {

using lumen::test::ProgramFolder;
using lumen::test::ProgramRun;

class StopSignalRun : public ::testing::Test
{
protected:
    StopSignalRun()
    {
        QFile script(m_folder.filePath(QStringLiteral("night.lsf")));
        if (script.open(QIODevice::WriteOnly))
            script.write("ConnectLMN\r\nGetNumberChannels\r\nBeep\r\n");
    }

    QString journal() const
    {
        const QDir dir(m_folder.filePath(QStringLiteral("journal")));
        QFile file(dir.filePath(dir.entryList(QDir::Files).value(0)));
        return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
    }

    ProgramFolder m_folder{{QStringLiteral(SEQUA_EXE)}};
};

TEST_F(StopSignalRun, ASignalCutsACallOnAFrozenHostShort)
{
    // A bridge that takes the connection and the call, and never answers.
    QTcpServer frozen;
    ASSERT_TRUE(frozen.listen(QHostAddress::LocalHost));
    QProcessEnvironment env = m_folder.environment();
    env.insert(QStringLiteral("LUMEN_HOST"),
               QStringLiteral("tcp://127.0.0.1:%1").arg(frozen.serverPort()));
    env.insert(QStringLiteral("LUMEN_HOST_TIMEOUT"), QStringLiteral("100"));
    const auto sequa = m_folder.start(QString(), {QStringLiteral("night.lsf")}, env);
    ASSERT_TRUE(frozen.waitForNewConnection(20000));
    QTcpSocket *call = frozen.nextPendingConnection();
    while (!call->canReadLine() && call->waitForReadyRead(20000)) {
    }
    ASSERT_TRUE(call->canReadLine()) << "no call came";

    QElapsedTimer waited;
    waited.start();
    ::kill(pid_t(sequa->processId()), SIGTERM);
    const ProgramRun ran = ProgramFolder::finish(*sequa, 20000);
    EXPECT_LT(waited.elapsed(), 5000) << "the call waited for its time-out";
    EXPECT_EQ(ran.status, 1) << qPrintable(ran.err);
    const QString text = journal();
    EXPECT_TRUE(text.contains(QStringLiteral("Line 1: ConnectLMN -> Wait ended: interrupted by "
                                             "SIGTERM")))
        << qPrintable(text);
    EXPECT_TRUE(text.contains(QStringLiteral("Exit status: 1"))) << qPrintable(text);
    EXPECT_FALSE(text.contains(QStringLiteral("-> OK"))) << qPrintable(text);
}

} // namespace

#endif
