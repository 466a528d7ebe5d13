// Who may drive the host through the Windows bridge: the key's challenge,
// the one controller, and the silent controller dropped.
#include "hostbridge/tests/WineBridge.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using lumen::test::BridgeClient;
using lumen::test::WineBridge;

namespace {

QString failureOf(const QJsonObject &reply)
{
    return reply.value(QStringLiteral("failure")).toString();
}

const QString kOK = QStringLiteral("OK");

} // namespace

TEST(BridgeController, WithAKeyOnlyTheRightAnswerToTheChallengeGetsIn)
{
    QProcessEnvironment env = lumen::test::bridgeEnvironment();
    env.insert(QStringLiteral("LUMEN_HOST_TOKEN"), QStringLiteral(" k3y-of-the-lab "));
    WineBridge bridge({}, env);
    struct Case
    {
        const char *what;
        std::function<QJsonObject(BridgeClient &)> first;
        QString refusal;
    };
    const QString needsKey =
        QStringLiteral("This host bridge needs a key first (LUMEN_HOST_TOKEN)");
    const Case cases[] = {
        {"a call first", [](BridgeClient &c) { return c.call(QStringLiteral("testconnect"), {}); },
         needsKey},
        {"a hello without an answer",
         [](BridgeClient &c) { return c.hello(QStringLiteral("run")); }, needsKey},
        {"a wrong key",
         [](BridgeClient &c) { return c.hello(QStringLiteral("run"), "k3y-of-the-lab!"); },
         QStringLiteral("Wrong key for this host bridge")},
    };
    for (const Case &c : cases) {
        BridgeClient client;
        ASSERT_TRUE(client.open(bridge.port()));
        EXPECT_EQ(failureOf(c.first(client)), c.refusal) << c.what;
        EXPECT_TRUE(client.closedByBridge()) << c.what;
    }
    BridgeClient client;
    ASSERT_TRUE(client.open(bridge.port()));
    EXPECT_EQ(client.hello(QStringLiteral("run"), "k3y-of-the-lab").value(QStringLiteral("result")),
              kOK);
    EXPECT_EQ(client.call(QStringLiteral("testconnect"), {}).value(QStringLiteral("result")), kOK);
}

TEST(BridgeController, OneConnectionHoldsTheHostUntilItCloses)
{
    WineBridge bridge;
    BridgeClient a, b, anonymous, aAgain, d;
    ASSERT_TRUE(a.open(bridge.port()));
    EXPECT_EQ(a.hello(QStringLiteral("run A")).value(QStringLiteral("result")), kOK);

    const QRegularExpression heldByA(QStringLiteral(
        R"(^The host is held by run A from 127\.0\.0\.1:\d+ since \d{4}-\d\d-\d\d \d\d:\d\d:\d\d$)"));
    ASSERT_TRUE(b.open(bridge.port()));
    EXPECT_TRUE(heldByA.match(failureOf(b.hello(QStringLiteral("run B")))).hasMatch());
    EXPECT_TRUE(b.closedByBridge());
    ASSERT_TRUE(anonymous.open(bridge.port()));
    EXPECT_TRUE(
        heldByA.match(failureOf(anonymous.call(QStringLiteral("testconnect"), {}))).hasMatch());

    // The same client reconnecting takes its hold over; the old connection is closed.
    ASSERT_TRUE(aAgain.open(bridge.port()));
    EXPECT_EQ(aAgain.hello(QStringLiteral("run A")).value(QStringLiteral("result")), kOK);
    EXPECT_TRUE(a.closedByBridge());

    // A holder that closes frees the host at once, for whoever comes next.
    aAgain.close();
    ASSERT_TRUE(d.open(bridge.port()));
    EXPECT_EQ(d.hello(QStringLiteral("run D")).value(QStringLiteral("result")), kOK);
    EXPECT_EQ(d.send(R"({"ping":true})").value(QStringLiteral("result")), kOK);
}

TEST(BridgeController, ASilentControllerIsDroppedAndTheHostFreed)
{
    WineBridge bridge({QStringLiteral("--idle"), QStringLiteral("1")});
    BridgeClient silent, next;
    ASSERT_TRUE(silent.open(bridge.port()));
    EXPECT_EQ(silent.hello(QStringLiteral("hung run")).value(QStringLiteral("result")), kOK);
    EXPECT_TRUE(silent.closedByBridge());
    ASSERT_TRUE(next.open(bridge.port()));
    EXPECT_EQ(next.hello(QStringLiteral("next run")).value(QStringLiteral("result")), kOK);
}
