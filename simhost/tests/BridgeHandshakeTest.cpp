// The bridge's door: the key's challenge and answer, and one controller at a time.
#include "simhost/testsupport/HostTestSupport.h"
#include "simhost/testsupport/ServedHost.h"

#include "common/core/Failure.h"
#include "hostlink/HostProtocol.h"
#include "hostlink/TcpHostClient.h"
#include "hostlink/testsupport/BridgeLine.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

using namespace lumen;
using lumen::test::BridgeLine;
using lumen::test::ServedHost;

namespace {

const QByteArray kKey = "a3f9-lab-bridge";

/** The simulated host served on loopback, with or without a key. */
class Bridge : public ::testing::Test
{
protected:
    quint16 serve(const QByteArray &key = {})
    {
        served.emplace(test::hostSettings(folder));
        served->requireKey(key);
        return served->startServing();
    }
    TcpHostClient client(quint16 port, const QString &holder = {}, const QByteArray &key = {})
    {
        return TcpHostClient(QStringLiteral("127.0.0.1"), port, 5000, key, holder);
    }

    QTemporaryDir folder;
    std::optional<ServedHost> served;
};

const QByteArray kCall = HostProtocol::request(QStringLiteral("GetLibrary"), {});

TEST_F(Bridge, OnlyTheRightAnswerReachesTheHost)
{
    const struct
    {
        QByteArray bridgeKey, clientKey;
        const char *answer;
    } cases[] = {
        {{}, {}, "OK"},
        {{}, "any key", "OK"}, // a bridge without a key ignores the answer
        {kKey, {}, "No connection: This host bridge needs a key first (LUMEN_HOST_TOKEN)"},
        {kKey, "a3f9-lab-bridgE", "No connection: Wrong key for this host bridge"},
        {kKey, kKey, "OK"},
    };
    for (const auto &c : cases) {
        const quint16 port = serve(c.bridgeKey);
        TcpHostClient driver = client(port, QStringLiteral("run"), c.clientKey);
        EXPECT_EQ(driver.testconnect(), c.answer) << c.clientKey.toStdString();
        double preset = 120;
        if (QByteArray(c.answer) == "OK")
            EXPECT_EQ(driver.SetLivePreset(preset), "OK");
        else
            EXPECT_THROW(driver.SetLivePreset(preset), Failure);
    }
}

TEST_F(Bridge, AFirstLineWithoutTheRightAnswerGetsOneRefusalAndAClosedLine)
{
    const quint16 port = serve(kKey);
    const struct
    {
        QByteArray first;
        const char *refusal;
    } cases[] = {
        {kCall, "This host bridge needs a key first (LUMEN_HOST_TOKEN)"},
        {HostProtocol::hello(QStringLiteral("run"), {}),
         "This host bridge needs a key first (LUMEN_HOST_TOKEN)"},
        {HostProtocol::hello(QStringLiteral("run"), QByteArray(64, '0')),
         "Wrong key for this host bridge"},
    };
    for (const auto &c : cases) {
        BridgeLine line(port);
        ASSERT_EQ(line.challenge.size(), 64);
        // A call sent right behind the first line must never run.
        line.socket.write(c.first + HostProtocol::request(QStringLiteral("StartAcquire"), {}));
        EXPECT_EQ(line.untilClosed(), HostProtocol::refusal(QLatin1String(c.refusal)));
        EXPECT_FALSE(line.isOpen());
    }
    served->onHost([](SimulatedHost &host) { EXPECT_EQ(host.GetAcquireStatus(), "Stopped"); });
}

TEST_F(Bridge, ASecondControllerIsToldWhoHoldsTheHostFromWhereSinceWhen)
{
    const quint16 port = serve();
    const struct
    {
        QByteArray holdersFirstLine;
        const char *shownAs;
        const char *second; // the second client's name
    } cases[] = {
        {HostProtocol::hello(QStringLiteral("run A (process 7)"), {}), "run A (process 7)",
         "run B"},
        {kCall, "a client", "run B"},
        {HostProtocol::hello(QString(), {}), "a client", ""}, // no name: no take-over
    };
    for (const auto &c : cases) {
        BridgeLine holder(port);
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        ASSERT_FALSE(holder.say(c.holdersFirstLine).contains("failure"));
        const QString refused = client(port, QLatin1String(c.second)).testconnect();
        const QRegularExpression shape(
            QStringLiteral("^No connection: The host is held by %1 from 127\\.0\\.0\\.1:%2 since "
                           "(\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d)$")
                .arg(QRegularExpression::escape(QLatin1String(c.shownAs)))
                .arg(holder.socket.localPort()));
        const QRegularExpressionMatch match = shape.match(refused);
        ASSERT_TRUE(match.hasMatch()) << refused.toStdString();
        const QDateTime since =
            QDateTime::fromString(match.captured(1), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        EXPECT_TRUE(since >= before && since <= QDateTime::currentDateTime())
            << refused.toStdString();
        EXPECT_TRUE(holder.say(kCall).startsWith("{\"result\"")) << "the holder is served on";
    }
}

TEST_F(Bridge, TheHostIsFreeOnceItsHolderHasClosed)
{
    const quint16 port = serve();
    for (const bool abruptly : {false, true}) {
        {
            BridgeLine holder(port);
            ASSERT_EQ(holder.hello(QStringLiteral("run A")), HostProtocol::accepted());
            if (abruptly)
                holder.socket.abort();
        }
        // At once, as a client that closes and connects again does.
        EXPECT_EQ(client(port, QStringLiteral("run B")).testconnect(), "OK") << abruptly;
    }
}

TEST_F(Bridge, TheSameHolderOnANewConnectionTakesTheHostOver)
{
    const quint16 port = serve();
    BridgeLine old(port);
    ASSERT_EQ(old.hello(QStringLiteral("run A")), HostProtocol::accepted());
    TcpHostClient again = client(port, QStringLiteral("run A"));
    EXPECT_EQ(again.testconnect(), "OK");
    EXPECT_EQ(old.untilClosed(), QByteArray()) << "the old connection is closed";
    EXPECT_FALSE(old.isOpen());
    EXPECT_TRUE(client(port, QStringLiteral("run B"))
                    .testconnect()
                    .startsWith("No connection: The host is held by run A from"));
}

} // namespace
