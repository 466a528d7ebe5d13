#include "hostlink/HostKey.h"

#include "common/core/Failure.h"
#include "common/core/OutsideFile.h"

#include <QFileInfo>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>
#include <array>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace lumen {

namespace {

QByteArray checkedKey(const QByteArray &text, const QString &from)
{
    const QByteArray key = text.trimmed();
    if (key.isEmpty())
        throw Failure(QStringLiteral("Invalid value of %1: the key is blank").arg(from));
    return key;
}

#ifdef Q_OS_UNIX
void checkPrivate(const QString &path)
{
    struct stat st
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return; // outsidefile::read names what is wrong with it
    if (st.st_uid != ::geteuid())
        throw Failure(QStringLiteral("Invalid value of %1: %2 belongs to another user")
                          .arg(QLatin1String(HostKey::kFileVariable), path));
    if ((st.st_mode & (S_IRWXG | S_IRWXO)) != 0)
        throw Failure(
            QStringLiteral("Invalid value of %1: others than its owner may read %2 (chmod 600 it)")
                .arg(QLatin1String(HostKey::kFileVariable), path));
}
#else
void checkPrivate(const QString &) {}
#endif

} // namespace

QByteArray HostKey::fromFile(const QString &path)
{
    checkPrivate(path);
    QByteArray text;
    try {
        text = outsidefile::read(path, kMaxFileBytes);
    } catch (const Failure &failure) {
        throw Failure(QStringLiteral("Invalid value of %1: %2")
                          .arg(QLatin1String(kFileVariable), failure.description()));
    }
    const qsizetype end = text.indexOf('\n');
    return checkedKey(end < 0 ? text : text.left(end), QLatin1String(kFileVariable) + u' ' + path);
}

QByteArray HostKey::fromEnvironment()
{
    const bool inVariable = !qEnvironmentVariableIsEmpty(kVariable);
    const QString file = qEnvironmentVariable(kFileVariable);
    if (inVariable && !file.isEmpty())
        throw Failure(QStringLiteral("Set %1 or %2, not both")
                          .arg(QLatin1String(kVariable), QLatin1String(kFileVariable)));
    if (inVariable)
        return checkedKey(qgetenv(kVariable), QLatin1String(kVariable));
    if (!file.isEmpty())
        return fromFile(file);
    return {};
}

QByteArray HostKey::freshChallenge()
{
    std::array<quint32, kChallengeBytes / sizeof(quint32)> words{};
    QRandomGenerator::system()->fillRange(words.data(), qsizetype(words.size()));
    return QByteArray(reinterpret_cast<const char *>(words.data()), kChallengeBytes).toHex();
}

QByteArray HostKey::answer(const QByteArray &key, const QByteArray &challenge)
{
    return QMessageAuthenticationCode::hash(challenge, key, QCryptographicHash::Sha256).toHex();
}

bool HostKey::answers(const QByteArray &offered, const QByteArray &key, const QByteArray &challenge)
{
    // Every answer is 64 digits long, so its length tells a guesser nothing;
    // the bytes are compared without an early exit.
    const QByteArray expected = answer(key, challenge);
    if (key.isEmpty() || offered.size() != expected.size())
        return false;
    unsigned char difference = 0;
    for (qsizetype i = 0; i < expected.size(); ++i)
        difference |= static_cast<unsigned char>(offered[i] ^ expected[i]);
    return difference == 0;
}

} // namespace lumen
