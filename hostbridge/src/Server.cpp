#include "hostbridge/src/Server.h"

#include "hostbridge/src/Key.h"

#include <ws2tcpip.h>

#include <cstdio>

namespace bridge {

namespace {

// Longest request line, line feed included; a longer one is no request.
constexpr std::size_t kMaxLine = 4 * 1024 * 1024;
// More connections than a lab opens at once: the rest are closed at once.
constexpr std::size_t kMaxConnections = 48;

std::string now()
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay,
                  t.wHour, t.wMinute, t.wSecond);
    return text;
}

std::string peerOf(const sockaddr_storage &address)
{
    char host[INET6_ADDRSTRLEN] = "?";
    unsigned port = 0;
    if (address.ss_family == AF_INET) {
        const auto *a = reinterpret_cast<const sockaddr_in *>(&address);
        inet_ntop(AF_INET, &a->sin_addr, host, sizeof host);
        port = ntohs(a->sin_port);
    } else if (address.ss_family == AF_INET6) {
        const auto *a = reinterpret_cast<const sockaddr_in6 *>(&address);
        inet_ntop(AF_INET6, &a->sin6_addr, host, sizeof host);
        port = ntohs(a->sin6_port);
    }
    return std::string(host) + ":" + std::to_string(port);
}

} // namespace

Server::~Server()
{
    for (Connection &c : m_connections)
        closesocket(c.socket);
    if (m_listener != INVALID_SOCKET)
        closesocket(m_listener);
    for (WSAEVENT e : {m_event, m_listenerEvent})
        if (e != WSA_INVALID_EVENT)
            WSACloseEvent(e);
}

bool Server::listen(const std::string &address, unsigned short port, std::string &why)
{
    sockaddr_storage where{};
    int length = 0;
    auto *v4 = reinterpret_cast<sockaddr_in *>(&where);
    auto *v6 = reinterpret_cast<sockaddr_in6 *>(&where);
    if (inet_pton(AF_INET, address.c_str(), &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
        v4->sin_port = htons(port);
        length = sizeof *v4;
    } else if (inet_pton(AF_INET6, address.c_str(), &v6->sin6_addr) == 1) {
        v6->sin6_family = AF_INET6;
        v6->sin6_port = htons(port);
        length = sizeof *v6;
    } else {
        why = "Invalid address: " + address;
        return false;
    }
    m_listener = socket(where.ss_family, SOCK_STREAM, IPPROTO_TCP);
    // Another program on the same port must make this one fail, not share it.
    BOOL exclusive = TRUE;
    setsockopt(m_listener, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<char *>(&exclusive),
               sizeof exclusive);
    if (m_listener == INVALID_SOCKET ||
        bind(m_listener, reinterpret_cast<sockaddr *>(&where), length) != 0 ||
        ::listen(m_listener, SOMAXCONN) != 0) {
        why = "Cannot listen on " + address + ":" + std::to_string(port) + " (Winsock error " +
              std::to_string(WSAGetLastError()) + ")";
        return false;
    }
    int got = sizeof where;
    getsockname(m_listener, reinterpret_cast<sockaddr *>(&where), &got);
    m_port = ntohs(where.ss_family == AF_INET ? v4->sin_port : v6->sin6_port);
    return true;
}

void Server::serve()
{
    // Two events: the connections' and the listener's, so that a call
    // wakes no accept and a new connection no read.
    m_event = WSACreateEvent();
    m_listenerEvent = WSACreateEvent();
    WSAEventSelect(m_listener, m_listenerEvent, FD_ACCEPT);
    const HANDLE events[] = {m_event, m_listenerEvent};
    for (;;) {
        // The thread that owns the host's object waits here between calls:
        // it serves window messages as they come, the sockets when they stir.
        const DWORD woke =
            MsgWaitForMultipleObjectsEx(2, events, 1000, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woke == WAIT_OBJECT_0) {
            WSAResetEvent(m_event);
            for (Connection &c : m_connections)
                if (!c.closing)
                    readFrom(c);
        } else if (woke == WAIT_OBJECT_0 + 1) {
            WSAResetEvent(m_listenerEvent);
            accept();
        } else if (woke == WAIT_OBJECT_0 + 2) {
            pumpMessages();
        }
        dropSilent();
        for (auto it = m_connections.begin(); it != m_connections.end();) {
            if (it->closing) {
                if (m_holder == &*it)
                    m_holder = nullptr;
                closesocket(it->socket);
                it = m_connections.erase(it);
            } else {
                ++it;
            }
        }
    }
}

void Server::accept()
{
    for (;;) {
        sockaddr_storage from{};
        int length = sizeof from;
        const SOCKET s = ::accept(m_listener, reinterpret_cast<sockaddr *>(&from), &length);
        if (s == INVALID_SOCKET)
            return;
        if (m_connections.size() >= kMaxConnections) {
            closesocket(s);
            continue;
        }
        BOOL noDelay = TRUE;
        setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<char *>(&noDelay), sizeof noDelay);
        WSAEventSelect(s, m_event, FD_READ | FD_CLOSE);
        Connection c;
        c.socket = s;
        c.peer = peerOf(from);
        c.challenge = freshChallenge();
        c.lastHeard = GetTickCount64();
        m_connections.push_back(std::move(c));
        send(m_connections.back(),
             Json::object().set("challenge", Json::text(m_connections.back().challenge)));
    }
}

void Server::readFrom(Connection &c)
{
    // One read per wake: a read that leaves bytes behind sets the event again.
    char buffer[65536];
    const int n = recv(c.socket, buffer, sizeof buffer, 0);
    if (n <= 0) {
        // Nothing for this connection now, or its peer has gone.
        if (n == 0 || WSAGetLastError() != WSAEWOULDBLOCK)
            c.closing = true;
        return;
    }
    c.lastHeard = GetTickCount64();
    c.in.append(buffer, std::size_t(n));
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = c.in.find('\n', start);
        if (end == std::string::npos)
            break;
        if (end + 1 - start > kMaxLine) {
            c.closing = true;
            return;
        }
        handleLine(c, c.in.substr(start, end + 1 - start));
        start = end + 1;
        if (c.closing)
            return;
    }
    c.in.erase(0, start);
    // A line longer than any request: the peer is not speaking the protocol.
    if (c.in.size() > kMaxLine)
        c.closing = true;
}

void Server::handleLine(Connection &c, const std::string &line)
{
    Json request;
    const bool parsed = Json::parse(line, request) && request.kind() == Json::Kind::Object;
    if (!c.greeted) {
        if (!admit(c, request, parsed))
            return;
        if (parsed && request.has("hello"))
            return; // answered as it was admitted
    } else if (parsed && request.has("hello")) {
        send(c, Json::object().set("result", Json::text("OK")));
        return;
    }
    if (parsed && request.has("ping")) {
        send(c, Json::object().set("result", Json::text("OK")));
        return;
    }
    if (!parsed) {
        send(c, failureReply("Malformed request"));
        return;
    }
    try {
        send(c, m_host.call(readCall(request)));
    } catch (const RequestError &e) {
        send(c, failureReply(e.what()));
    }
}

bool Server::admit(Connection &c, const Json &request, bool parsed)
{
    const bool hello = parsed && request.has("hello");
    if (!m_settings.key.empty()) {
        const Json &answer = request.member("answer");
        if (!hello || !answer.isText()) {
            refuse(c, "This host bridge needs a key first (LUMEN_HOST_TOKEN)");
            return false;
        }
        if (!sameInConstantTime(answer.asText(), answerTo(m_settings.key, c.challenge))) {
            refuse(c, "Wrong key for this host bridge");
            return false;
        }
    }
    const std::string who = hello && request.member("hello").isText()
                                ? request.member("hello").asText()
                                : std::string();
    if (m_holder && holderStillThere()) {
        if (who.empty() || who != m_holder->who) {
            refuse(c, "The host is held by " +
                          (m_holder->who.empty() ? std::string("a client") : m_holder->who) +
                          " from " + m_holder->peer + " since " + m_holder->since);
            return false;
        }
        // The same client reconnecting: the new connection takes the hold over.
        m_holder->closing = true;
    }
    c.greeted = true;
    c.who = who;
    c.since = now();
    m_holder = &c;
    if (hello)
        send(c, Json::object().set("result", Json::text("OK")));
    return true;
}

bool Server::holderStillThere()
{
    if (m_holder->closing)
        return false;
    // A client that closes and at once reconnects: its old connection's end
    // may not have been read yet.
    char byte;
    const int n = recv(m_holder->socket, &byte, 1, MSG_PEEK);
    const bool gone = n == 0 || (n < 0 && WSAGetLastError() != WSAEWOULDBLOCK);
    if (gone)
        m_holder->closing = true;
    return !gone;
}

void Server::dropSilent()
{
    if (m_settings.idleS == 0)
        return;
    const ULONGLONG limit = ULONGLONG(m_settings.idleS) * 1000;
    const ULONGLONG t = GetTickCount64();
    for (Connection &c : m_connections)
        if (t - c.lastHeard > limit)
            c.closing = true;
}

void Server::send(Connection &c, const Json &reply)
{
    const std::string line = reply.write() + "\n";
    std::size_t sent = 0;
    while (sent < line.size()) {
        const int n = ::send(c.socket, line.data() + sent, int(line.size() - sent), 0);
        if (n > 0) {
            sent += std::size_t(n);
            continue;
        }
        // A client that stops reading its replies must not stall the bridge for ever.
        fd_set writable;
        FD_ZERO(&writable);
        FD_SET(c.socket, &writable);
        timeval wait{30, 0};
        if (WSAGetLastError() != WSAEWOULDBLOCK ||
            select(0, nullptr, &writable, nullptr, &wait) != 1) {
            c.closing = true;
            return;
        }
    }
}

void Server::refuse(Connection &c, const std::string &why)
{
    // One refusal, then the line is closed: a guesser gets one try per connection.
    send(c, failureReply(why));
    shutdown(c.socket, SD_SEND);
    c.closing = true;
}

} // namespace bridge
