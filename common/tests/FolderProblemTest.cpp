// A folder that cannot be made (the Lumen folder on a read-only disk): the
// files meant for it fail with the system's reason for the folder, not the
// "No such file or directory" of their own open.
#include "common/core/Failure.h"
#include "common/core/OutsideFile.h"
#include "common/core/Paths.h"
#include "common/core/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace lumen;

namespace {

QString failureOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const Failure &failure) {
        return failure.description();
    }
    return QString();
}

TEST(FolderProblem, FilesInAFolderThatCannotBeMadeSayTheSystemsReason)
{
    // Root may write anywhere but in the kernel's own file systems.
    QTemporaryDir scratch;
    QString parent = scratch.filePath(QStringLiteral("locked"));
    if (::geteuid() == 0) {
        if (QStorageInfo(QStringLiteral("/sys")).fileSystemType() != "sysfs")
            GTEST_SKIP() << "no folder is closed to root here";
        parent = QStringLiteral("/sys");
    } else {
        ASSERT_TRUE(QDir().mkdir(parent));
        QFile::setPermissions(parent, QFile::ReadOwner | QFile::ExeOwner);
    }
    const QString root = parent + QStringLiteral("/lumen-folder-test/Lumen");
    const QString made = failureOf([&] { makeFolder(root); });
    EXPECT_TRUE(made.startsWith(QStringLiteral("Cannot create the folder ") + root + ": "))
        << made.toStdString();
    EXPECT_FALSE(made.contains(QStringLiteral("No such file"))) << made.toStdString();

    const QString file = root + QStringLiteral("/Temp/RESULTS.TXT");
    for (const QString &said : {failureOf([&] { safefile::replace(file, "x"); }),
                                failureOf([&] { safefile::append(file, "x"); }),
                                failureOf([&] { outsidefile::read(file, 100); })}) {
        EXPECT_TRUE(said.contains(made)) << said.toStdString();
        EXPECT_TRUE(said.contains(file)) << said.toStdString();
    }
    EXPECT_EQ(folderProblem(scratch.filePath(QStringLiteral("elsewhere.txt"))), QString());
}

} // namespace
