#include "common/core/SafeFile.h"
#include "common/core/Failure.h"
#include "common/core/OutsideFile.h"
#include "common/testsupport/SizeLimit.h"
#include "common/testsupport/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace lumen;

using lumen::test::underSizeLimit;

TEST(SafeFile, AFailedReplaceOrAppendLeavesTheOldFileAsItWas)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("StabData.txt"));
    const QByteArray old = "line one\r\nline two\r\n";
    ASSERT_TRUE(test::writeBytes(path, old));
    const QByteArray big(4096, 'x');

    const QString replaced = underSizeLimit(1024, [&] { safefile::replace(path, big); });
    EXPECT_TRUE(replaced.startsWith(QStringLiteral("Could not write file: ") + path))
        << replaced.toStdString();
    EXPECT_TRUE(replaced.contains(QStringLiteral("large"))) << replaced.toStdString();
    EXPECT_EQ(test::fileBytes(path), old);

    const QString appended = underSizeLimit(1024, [&] { safefile::append(path, big); });
    EXPECT_FALSE(appended.isEmpty());
    EXPECT_EQ(test::fileBytes(path), old) << "a short append is cut back";

    const QString created = dir.filePath(QStringLiteral("new.txt"));
    EXPECT_FALSE(underSizeLimit(1024, [&] { safefile::append(created, big); }).isEmpty());
    EXPECT_FALSE(QFile::exists(created));

    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("StabData.txt")})
        << "no temporary file is left behind";
    EXPECT_THROW(safefile::replace(dir.filePath(QStringLiteral("no/such/folder/f")), "x"), Failure);
}

TEST(SafeFile, ReplacesAndAppendsWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f.txt"));
    safefile::replace(path, "first");
    safefile::replace(path, "second");
    safefile::append(path, "+more");
    EXPECT_EQ(test::fileBytes(path), "second+more");
}

TEST(OutsideFile, ReadsRegularFilesOnlyAndWithinTheCap)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString small = dir.filePath(QStringLiteral("small.txt"));
    ASSERT_TRUE(test::writeBytes(small, QByteArray(100, 'a')));

    const struct
    {
        QString path;
        qint64 cap;
        const char *said;
    } refused[] = {
        {fifo, 1000, "Not a regular file: "},
        {QStringLiteral("/dev/zero"), 1000, "Not a regular file: "},
        {dir.path(), 1000, "Not a regular file: "},
        {small, 99, "File too large"},
        {dir.filePath(QStringLiteral("missing")), 1000, "File not found: "},
    };
    for (const auto &r : refused) {
        try {
            outsidefile::read(r.path, r.cap);
            ADD_FAILURE() << "read " << r.path.toStdString();
        } catch (const Failure &f) {
            EXPECT_TRUE(f.description().startsWith(QLatin1String(r.said)))
                << f.description().toStdString();
            EXPECT_TRUE(f.description().endsWith(r.path)) << f.description().toStdString();
        }
    }
    EXPECT_EQ(outsidefile::read(small, 100), QByteArray(100, 'a'));
}
