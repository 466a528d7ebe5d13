#include "hostbridge/tests/WineBridge.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QMessageAuthenticationCode>
#include <gtest/gtest.h>

namespace lumen::test {

namespace {
constexpr int kReplyMs = 20000;
} // namespace

QProcessEnvironment bridgeEnvironment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("LUMEN_HOST_TOKEN"));
    env.remove(QStringLiteral("LUMEN_HOST_TOKEN_FILE"));
    env.insert(QStringLiteral("WINEPREFIX"), QStringLiteral(LUMEN_WINE_PREFIX));
    env.insert(QStringLiteral("WINEDEBUG"), QStringLiteral("-all"));
    return env;
}

WineBridge::WineBridge(const QStringList &args, const QProcessEnvironment &env)
    : m_process(std::make_unique<QProcess>())
{
    m_process->setProcessEnvironment(env);
    m_process->start(QStringLiteral(LUMEN_WINE),
                     QStringList{QStringLiteral(LUMEN_BRIDGE_EXE), QStringLiteral("--listen"),
                                 QStringLiteral("127.0.0.1:0")} +
                         args);
    const QString at = ProgramFolder::listeningAt(*m_process, 60000);
    m_port = quint16(at.section(u':', -1).toUInt());
}

WineBridge::~WineBridge()
{
    m_process->kill();
    m_process->waitForFinished();
    endWineProcesses();
}

ProgramRun WineBridge::run(const QStringList &args, const QProcessEnvironment &env)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(LUMEN_WINE), QStringList{QStringLiteral(LUMEN_BRIDGE_EXE)} + args);
    return ProgramFolder::finish(process);
}

void WineBridge::endWineProcesses()
{
    // The prefix is the test run's own: no other Wine program is touched.
    for (const char *option : {"-k", "-w"}) {
        QProcess server;
        server.setProcessEnvironment(bridgeEnvironment());
        server.start(QStringLiteral(LUMEN_WINESERVER), {QLatin1String(option)});
        server.waitForFinished();
    }
}

bool BridgeClient::open(quint16 port)
{
    m_socket.connectToHost(QStringLiteral("127.0.0.1"), port);
    if (!m_socket.waitForConnected(kReplyMs)) {
        ADD_FAILURE() << "no connection to port " << port;
        return false;
    }
    m_challenge = send({}).value(QStringLiteral("challenge")).toString().toLatin1();
    EXPECT_EQ(m_challenge.size(), 64) << "the bridge speaks first, with a challenge";
    return m_challenge.size() == 64;
}

QJsonObject BridgeClient::hello(const QString &who, const QByteArray &key)
{
    QJsonObject hello{{QStringLiteral("hello"), who}};
    if (!key.isEmpty())
        hello.insert(QStringLiteral("answer"),
                     QString::fromLatin1(QMessageAuthenticationCode::hash(
                                             m_challenge, key, QCryptographicHash::Sha256)
                                             .toHex()));
    return send(QJsonDocument(hello).toJson(QJsonDocument::Compact));
}

QJsonObject BridgeClient::send(const QByteArray &line)
{
    if (!line.isEmpty()) {
        m_socket.write(line + '\n');
        m_socket.flush();
    }
    while (!m_socket.canReadLine())
        if (!m_socket.waitForReadyRead(kReplyMs))
            return {};
    return QJsonDocument::fromJson(m_socket.readLine()).object();
}

QJsonObject BridgeClient::call(const QString &method, const QJsonArray &args)
{
    return send(QJsonDocument(
                    QJsonObject{{QStringLiteral("method"), method}, {QStringLiteral("args"), args}})
                    .toJson(QJsonDocument::Compact));
}

bool BridgeClient::closedByBridge()
{
    if (m_socket.state() == QAbstractSocket::UnconnectedState)
        return true;
    m_socket.waitForDisconnected(kReplyMs);
    return m_socket.state() == QAbstractSocket::UnconnectedState;
}

} // namespace lumen::test
