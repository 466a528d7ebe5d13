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
 * The bridge speaks first on each connection, {"challenge": HEX}; the
 * client's first line may be a hello, {"hello": WHO, "answer": HEX}, with
 * the answer (HostKey::answer) required by a bridge with a key. A refused
 * line gets one failure reply and the connection is closed.
 * {"ping": true} is answered {"result": "OK"} without calling the host.
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

    static QByteArray challenge(const QByteArray &hex);
    /** The challenge a line carries (64 lowercase hex digits), nothing when it is none. */
    static std::optional<QByteArray> challengeOf(const QByteArray &line);

    /** A client's first line; WHO and answer are left out when empty. */
    static QByteArray hello(const QString &who, const QByteArray &answer);
    struct Hello
    {
        QString who;       ///< empty when the client named none
        QByteArray answer; ///< empty when the client gave none
    };
    /** The hello in a line, nothing when it is no hello. */
    static std::optional<Hello> helloOf(const QByteArray &line);

    static QByteArray ping();
    static bool isPing(const QByteArray &line);

    /** {"result": "OK"}: a hello or a ping accepted. */
    static QByteArray accepted();
    /** A failure reply: the bridge will not serve this connection. */
    static QByteArray refusal(const QString &why);

    /** The method named in a request line (empty when unreadable). */
    static QString methodOf(const QByteArray &requestLine);
};

} // namespace lumen
