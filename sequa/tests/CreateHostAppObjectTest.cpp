#include "sequa/core/CreateHostAppObject.h"
#include "common/core/Clock.h"
#include "common/core/Failure.h"
#include "hostlink/TcpHostClient.h"
#include "sequa/core/HostSettings.h"
#include "simhost/SimulatedHost.h"
#include "simhost/testsupport/HostTestSupport.h"
#include "simhost/testsupport/ServedHost.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>

using namespace lumen;
using lumen::sequa::createHostAppObject;
using lumen::test::hostSettings;
using lumen::test::ServedHost;

TEST(HostLink, CreatedObjectsShareOneHostOrReachTheBridge)
{
    QTemporaryDir dir;
    qunsetenv("LUMEN_HOST");
    SimulatedHost::resetShared(std::make_shared<SimulatedHost>(hostSettings(dir)));
    auto first = createHostAppObject(QStringLiteral("LmnPro.clsLmn"));
    QString id = QStringLiteral("kept across connects");
    first->SetSpectrumID(id);
    first.reset();
    auto second = createHostAppObject(QStringLiteral("lmnpro.clslmn"));
    EXPECT_EQ(second->testconnect(), "OK");
    EXPECT_EQ(SimulatedHost::shared()->memory(1).spectrumId, "kept across connects");
    EXPECT_THROW(createHostAppObject(QStringLiteral("Other.App")), Failure);
    SimulatedHost::resetShared();

    ServedHost served(hostSettings(dir));
    const quint16 port = served.startServing();
    qputenv("LUMEN_HOST", QStringLiteral("tcp://127.0.0.1:%1").arg(port).toUtf8());
    auto remote = createHostAppObject(QStringLiteral("LmnPro.clsLmn"));
    EXPECT_NE(dynamic_cast<TcpHostClient *>(remote.get()), nullptr);
    EXPECT_EQ(remote->testconnect(), "OK");
    qputenv("LUMEN_HOST", "carrier pigeon");
    EXPECT_THROW(createHostAppObject(QStringLiteral("LmnPro.clsLmn")), Failure);
    qunsetenv("LUMEN_HOST");
}

TEST(HostLink, OnlyTheSimulatedHostInProcessWithAClockOfItsOwnSetsTheClockOfTheRun)
{
    const struct
    {
        const char *link;
        const char *speed;
        const char *start;
        double runSpeed; ///< 1: the system clock stays
    } cases[] = {
        {"sim", "600", "", 600.0},
        {"", "1", "2026-01-15 09:00:00", 1.0},
        {"sim", "1", "", 1.0},
        {"tcp://127.0.0.1:1", "600", "2026-01-15 09:00:00", 1.0}, // the bridge keeps real time
        {"sim", "fast", "", 1.0},                                 // left to the settings check
    };
    for (const auto &c : cases) {
        qputenv("LUMEN_HOST", c.link);
        qputenv("LUMEN_HOST_SPEED", c.speed);
        qputenv("LUMEN_HOST_START", c.start);
        sequa::HostSettings::useHostClock();
        EXPECT_DOUBLE_EQ(currentClock().speed(), c.runSpeed) << c.link << " " << c.speed;
        const bool hostTime = std::string(c.link) != "tcp://127.0.0.1:1" && *c.start;
        EXPECT_EQ(currentClock().now().date() == QDate(2026, 1, 15), hostTime) << c.link;
        setCurrentClock(nullptr);
        SimulatedHost::resetShared();
    }
    for (const char *name : {"LUMEN_HOST", "LUMEN_HOST_SPEED", "LUMEN_HOST_START"})
        qunsetenv(name);
}
