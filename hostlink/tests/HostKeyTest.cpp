#include "hostlink/HostKey.h"
#include "common/core/Failure.h"
#include "hostlink/HostProtocol.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lumen;

namespace {

const QByteArray kKey = "a3f9-lab-bridge";

TEST(HostKey, AnswerIsHmacSha256InLowercaseHex)
{
    // The published HMAC-SHA256 vector for the key "Jefe".
    EXPECT_EQ(HostKey::answer("Jefe", "what do ya want for nothing?"),
              "5bdcc146bf60754e6a042426089575c75a003f089d2739839dec58b964ec3843");
}

TEST(HostKey, OnlyTheAnswerToThisChallengeUnderThisKeyPasses)
{
    const QByteArray challenge = HostKey::freshChallenge();
    const QByteArray right = HostKey::answer(kKey, challenge);
    EXPECT_TRUE(HostKey::answers(right, kKey, challenge));
    const QByteArray wrong[] = {
        QByteArray(),
        right.toUpper(),
        right.left(63),
        right + "0",
        HostKey::answer(kKey + "x", challenge),
        HostKey::answer(kKey, HostKey::freshChallenge()), // an answer replayed from another line
        kKey,
    };
    for (const QByteArray &offered : wrong)
        EXPECT_FALSE(HostKey::answers(offered, kKey, challenge)) << offered.toStdString();
    EXPECT_FALSE(HostKey::answers(HostKey::answer({}, challenge), {}, challenge)) << "no key";
}

TEST(HostKey, ChallengesAreFreshAndTravelAsTheyWereMade)
{
    const QByteArray first = HostKey::freshChallenge();
    EXPECT_NE(first, HostKey::freshChallenge());
    EXPECT_EQ(HostProtocol::challengeOf(HostProtocol::challenge(first)), first);
    for (const QByteArray &bad : {first.left(62), first.toUpper(), QByteArray(64, 'g')})
        EXPECT_FALSE(HostProtocol::challengeOf(HostProtocol::challenge(bad))) << bad.toStdString();
    EXPECT_FALSE(HostProtocol::challengeOf(HostProtocol::accepted()));
}

TEST(HostKey, KeyFileMustBeTheOwnersAlone)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("key"));
    const auto write = [&](const QByteArray &text, QFile::Permissions permissions) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
        file.close();
        ASSERT_TRUE(file.setPermissions(permissions));
    };
    const QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner;
    write(kKey + "\nsecond line\n", ownerOnly);
    EXPECT_EQ(HostKey::fromFile(path), kKey);
    write(kKey + "\n", ownerOnly | QFile::ReadGroup);
    EXPECT_THROW(HostKey::fromFile(path), Failure);
    write(" \n", ownerOnly);
    EXPECT_THROW(HostKey::fromFile(path), Failure);
    EXPECT_THROW(HostKey::fromFile(folder.path()), Failure);
}

} // namespace
