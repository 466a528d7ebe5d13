#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <optional>

class QIODevice;

namespace lumen {

class HostApp;

/**
 * The host bridge protocol: one request line, one reply line, JSON objects
 * in UTF-8 ended by a line feed (see hostsim/README.md).
 *   request: {"method": NAME, "args": [...]}
 *   reply:   {"result": VALUE, "args": [...by-reference arguments after the call...]}
 *   or:      {"failure": DESCRIPTION}
 * A bridge with a key (HostKey) first wants {"key": KEY} on each connection,
 * answered {"result": "OK"}; anything else is refused once and the
 * connection closed.
 */
class HostProtocol
{
public:
    /** Longest line either side accepts, bytes; a longer one is garbage. */
    static constexpr qsizetype kMaxLine = 4 * 1024 * 1024;
    /**
     * The line a device holds (canReadLine), line feed included, cut at
     * kMaxLine bytes: a cut line ends without one.
     */
    static QByteArray readLine(QIODevice &device);
    /** Most counts one GetCounts may ask for. */
    static constexpr int kMaxCounts = 1 << 20;

    static QByteArray request(const QString &method, const QJsonArray &args);

    /**
     * Serves one request line on `host` and gives the reply line. Never
     * throws: a failing call or an unreadable request becomes a failure reply.
     */
    static QByteArray serve(HostApp &host, const QByteArray &requestLine);

    static QByteArray keyRequest(const QByteArray &key);
    /** The key a line offers, nothing when it is no key line. */
    static std::optional<QByteArray> keyOf(const QByteArray &requestLine);
    static QByteArray keyAccepted();
    /** A failure reply: the bridge will not serve this connection. */
    static QByteArray refusal(const QString &why);

    /** The method named in a request line (empty when unreadable). */
    static QString methodOf(const QByteArray &requestLine);
};

} // namespace lumen
