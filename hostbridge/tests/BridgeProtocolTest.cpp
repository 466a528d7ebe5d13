// The protocol as the Windows bridge serves it: the same refusals as the
// simulated host's server, each argument reaching the host in its own type,
// and the line limits.
#include "hostbridge/tests/WineBridge.h"
#include "hostlink/HostMethodList.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <gtest/gtest.h>

using lumen::test::BridgeClient;
using lumen::test::ProgramFolder;
using lumen::test::WineBridge;

namespace {

QJsonObject parsed(const char *json)
{
    return QJsonDocument::fromJson(json).object();
}

} // namespace

TEST(BridgeProtocol, RefusesWhatTheSimulatedHostRefusesInTheSameWords)
{
    ProgramFolder lab({QStringLiteral(LUMEN_HOSTSIM_EXE)});
    auto hostsim =
        lab.start(QString(), {QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0")});
    const quint16 simPort =
        quint16(ProgramFolder::listeningAt(*hostsim).section(u':', -1).toUInt());
    WineBridge bridge;
    BridgeClient sim, win;
    ASSERT_TRUE(sim.open(simPort));
    ASSERT_TRUE(win.open(bridge.port()));
    const char *const lines[] = {
        R"({"hello":"protocol suite"})",
        "not json",
        "[1,2]",
        R"({"method":"NoSuchMethod","args":[]})",
        R"({"method":42})",
        R"({"method":"StartAcquire","args":[1]})",
        R"({"method":"SetLivePreset"})",
        R"({"method":"SetLivePreset","args":["300"]})",
        R"({"method":"SetSpectrumID","args":[7]})",
        R"({"method":"setprimary","args":[1.5]})",
        R"({"method":"setprimary","args":[32768]})",
        R"({"method":"CopySpt","args":[1,-32769]})",
        R"({"method":"GetROIData","args":[1,2]})",
        R"({"method":"GetCounts","args":[-1]})",
        R"({"method":"GetCounts","args":[1048577]})",
        R"({"ping":true})",
    };
    for (const char *line : lines) {
        const QJsonObject fromSim = sim.send(line);
        EXPECT_FALSE(fromSim.isEmpty()) << line;
        EXPECT_EQ(win.send(line), fromSim) << line;
    }
    hostsim->kill();
    hostsim->waitForFinished();
}

TEST(BridgeProtocol, EachArgumentReachesTheHostInItsTypeAndComesBackChanged)
{
    struct Case
    {
        const char *request;
        const char *reply;
    };
    const Case cases[] = {
        // The host counts whole seconds and hands the value back so.
        {R"({"method":"SetLivePreset","args":[1.5]})", R"({"args":[2],"result":"OK"})"},
        {R"({"method":"SetSpectrumID","args":["  Ψ-µ 日本 "]})",
         R"({"args":["Ψ-µ 日本"],"result":"OK"})"},
        {R"({"method":"setprimary","args":[32767]})",
         R"({"args":[32767],"result":"Error: No spectrum memory 32767"})"},
        {R"({"method":"CopySpt","args":[-32768,1]})",
         R"({"args":[-32768,1],"result":"Error: No spectrum memory -32768"})"},
        {R"({"method":"GetROIData","args":[3,"NET"]})", R"({"args":[3],"result":"OK28326"})"},
        {R"({"method":"GetROIData","args":[9,"NET"]})",
         R"({"args":[9],"result":"Error: ROI 9 is not defined"})"},
        {R"({"method":"SampleQuantity","args":[2.5]})", R"({"result":null})"},
        {R"({"method":"NumberOfCounts","args":[]})", R"({"result":1024})"},
        {R"({"method":"GetDeadtime","args":[]})", R"({"result":1.25})"},
        {R"({"method":"GetCounts","args":[4]})", R"({"result":[0,919,838,757]})"},
        {R"({"method":"GetCounts","args":[0]})", R"({"result":[]})"},
        // The host's automation exception is its error reply.
        {R"({"method":"selectlibrary","args":["FAULTY.LIB"]})",
         R"({"args":["FAULTY.LIB"],"result":"Error: Cannot read FAULTY.LIB: the file is damaged"})"},
        {R"({"method":"SampleUnits","args":["!slow"]})", R"({"args":["!slow"],"result":"OK"})"},
        // A call the host rejected did not run: it is asked again, for a time.
        {R"({"method":"SampleUnits","args":["!busy-once"]})",
         R"({"args":["!busy-once"],"result":"OK"})"},
        {R"({"method":"SampleUnits","args":["!busy"]})",
         R"({"failure":"The host application is busy (a dialog may be open on its screen): it refused SampleUnits for 1 s; the call was not made"})"},
    };
    WineBridge bridge({QStringLiteral("--busy"), QStringLiteral("1")});
    BridgeClient client;
    ASSERT_TRUE(client.open(bridge.port()));
    for (const Case &c : cases)
        EXPECT_EQ(client.send(c.request), parsed(c.reply)) << c.request;
}

TEST(BridgeProtocol, EveryListedMethodReachesTheHost)
{
    // Arguments of each shape of the list; the test host refuses any type but its own.
    const QJsonArray text{QStringLiteral("x")};
    const QMap<QString, QJsonArray> argsOfShape = {
        {QStringLiteral("Text"), text},
        {QStringLiteral("TextText"), {QStringLiteral("x"), QStringLiteral("y")}},
        {QStringLiteral("Real"), {1}},
        {QStringLiteral("Int16"), {1}},
        {QStringLiteral("Int16Int16"), {1, 1}},
        {QStringLiteral("RoiField"), {1, QStringLiteral("ID")}},
        {QStringLiteral("Quantity"), {1}},
        {QStringLiteral("Counts"), {16384}},
    };
    WineBridge bridge;
    BridgeClient client;
    ASSERT_TRUE(client.open(bridge.port()));
#define LUMEN_CALL_EACH(shape, name)                                                               \
    EXPECT_TRUE(client.call(QStringLiteral(#name), argsOfShape.value(QStringLiteral(#shape)))      \
                    .contains(QStringLiteral("result")))                                           \
        << #name;
    LUMEN_HOST_METHODS(LUMEN_CALL_EACH)
#undef LUMEN_CALL_EACH
}

TEST(BridgeProtocol, ALineOfFourMebibytesIsServedALongerOneEndsTheConnection)
{
    constexpr qsizetype kMaxLine = 4 * 1024 * 1024;
    const QByteArray head = R"({"method":"SetSpectrumID","args":[")", tail = R"("]})";
    const qsizetype fill = kMaxLine - 1 - head.size() - tail.size();
    WineBridge bridge;
    BridgeClient client;
    ASSERT_TRUE(client.open(bridge.port()));
    const QJsonObject reply = client.send(head + QByteArray(fill, 'x') + tail);
    EXPECT_EQ(reply.value(QStringLiteral("args")).toArray().at(0).toString().size(), fill);
    EXPECT_TRUE(client.send(head + QByteArray(fill + 1, 'x') + tail).isEmpty());
    EXPECT_TRUE(client.closedByBridge());
}
