#pragma once

// The bridge's TCP side: the challenge and hello, the one controller, the
// idle time, and each call passed to the host's object on the same thread.

#include "hostbridge/src/ComHost.h"

#include <winsock2.h>

#include <list>
#include <string>

namespace bridge {

struct ServerSettings
{
    std::string key;      // empty: no key, any hello or call is taken
    unsigned idleS = 300; // 0: a silent controller is never dropped
};

class Server
{
public:
    Server(ComHost &host, ServerSettings settings) : m_host(host), m_settings(std::move(settings))
    {
    }
    ~Server();

    /** Listens; false with the reason when it cannot. */
    bool listen(const std::string &address, unsigned short port, std::string &why);
    unsigned short port() const { return m_port; }
    /** Serves until the process ends. */
    void serve();

private:
    struct Connection
    {
        SOCKET socket = INVALID_SOCKET;
        std::string peer; // ADDRESS:PORT
        std::string challenge;
        std::string in;
        bool greeted = false; // its first line was accepted
        std::string who;
        std::string since;
        ULONGLONG lastHeard = 0;
        bool closing = false;
    };

    /** Takes every waiting connection and sends each its challenge. */
    void accept();
    void readFrom(Connection &c);
    void handleLine(Connection &c, const std::string &line);
    bool admit(Connection &c, const Json &request, bool parsed);
    void send(Connection &c, const Json &reply);
    void refuse(Connection &c, const std::string &why);
    bool holderStillThere();
    void dropSilent();

    ComHost &m_host;
    ServerSettings m_settings;
    SOCKET m_listener = INVALID_SOCKET;
    WSAEVENT m_event = WSA_INVALID_EVENT;
    WSAEVENT m_listenerEvent = WSA_INVALID_EVENT;
    unsigned short m_port = 0;
    std::list<Connection> m_connections;
    Connection *m_holder = nullptr;
};

} // namespace bridge
