#pragma once

#include <QByteArray>
#include <QString>

namespace lumen {

/**
 * The shared key of the host bridge. With a key set, a client answers the
 * bridge's challenge on each connection before any method runs
 * (HostProtocol), and the bridge refuses whoever does not; the key itself
 * never crosses the wire. It comes from LUMEN_HOST_TOKEN, or from the file
 * that LUMEN_HOST_TOKEN_FILE names (so that it stays out of `ps` and the
 * environment of the programs a run starts), which only its owner may read.
 */
class HostKey
{
public:
    static constexpr const char *kVariable = "LUMEN_HOST_TOKEN";
    static constexpr const char *kFileVariable = "LUMEN_HOST_TOKEN_FILE";
    /** Longest key file read, bytes. */
    static constexpr qint64 kMaxFileBytes = 4096;

    /**
     * The key the environment sets, empty when it sets none. Throws Failure
     * naming the variable when both are set, the key is blank, or the file
     * cannot be read or others than its owner may read or write it.
     */
    static QByteArray fromEnvironment();
    /** The key in a file: its first line, blanks and line end trimmed. */
    static QByteArray fromFile(const QString &path);

    /** Bytes of randomness in a challenge; it travels as twice as many hex digits. */
    static constexpr int kChallengeBytes = 32;
    /** A fresh challenge from the system's random source, as lowercase hex digits. */
    static QByteArray freshChallenge();
    /** HMAC-SHA256 of the challenge's hex digits under `key`, as lowercase hex digits. */
    static QByteArray answer(const QByteArray &key, const QByteArray &challenge);
    /**
     * True when `offered` is the answer to `challenge` under a non-empty
     * `key`; takes as long whichever byte differs.
     */
    static bool answers(const QByteArray &offered, const QByteArray &key,
                        const QByteArray &challenge);
};

} // namespace lumen
