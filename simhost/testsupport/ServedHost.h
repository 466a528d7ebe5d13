#pragma once

#include "simhost/HostServer.h"
#include "simhost/SimulatedHost.h"
#include "simhost/SimulatedHostSettings.h"

#include <QHostAddress>
#include <QSemaphore>
#include <QThread>
#include <functional>
#include <memory>

namespace lumen::test {

/** A simulated host served over TCP on loopback from a thread of its own. */
class ServedHost : public QThread
{
public:
    explicit ServedHost(SimulatedHostSettings settings) : m_settings(std::move(settings)) {}
    ~ServedHost() override
    {
        quit();
        wait();
    }
    /** Before startServing: each connection must answer the challenge under `key` first. */
    void requireKey(QByteArray key) { m_key = std::move(key); }
    /** Before startServing: seconds of silence before a connection is closed. */
    void setIdleSeconds(int seconds) { m_idleSeconds = seconds; }
    quint16 startServing()
    {
        start();
        m_ready.acquire();
        return m_port;
    }
    /** Runs `work` on the host's thread, between calls. */
    void onHost(const std::function<void(SimulatedHost &)> &work)
    {
        QMetaObject::invokeMethod(
            m_context, [&] { work(*m_host); }, Qt::BlockingQueuedConnection);
    }

protected:
    void run() override
    {
        m_host = std::make_shared<SimulatedHost>(m_settings);
        HostServer server(m_host, m_settings.faults);
        server.requireKey(m_key);
        server.setIdleSeconds(m_idleSeconds);
        server.listen(QHostAddress::LocalHost, 0);
        m_port = server.port();
        m_context = &server;
        m_ready.release();
        exec();
    }

private:
    SimulatedHostSettings m_settings;
    QByteArray m_key;
    int m_idleSeconds = HostServer::kDefaultIdleSeconds;
    std::shared_ptr<SimulatedHost> m_host;
    QObject *m_context = nullptr;
    quint16 m_port = 0;
    QSemaphore m_ready;
};

} // namespace lumen::test
