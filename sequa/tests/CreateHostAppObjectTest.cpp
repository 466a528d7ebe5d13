#include "sequa/core/CreateHostAppObject.h"
#include "common/core/Failure.h"
#include "hostlink/TcpHostClient.h"
#include "hostsim/core/SimulatedHost.h"
#include "hostsim/tests/HostTestSupport.h"
#include "hostsim/tests/ServedHost.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

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
