#include "common/core/FolderSync.h"
#include "common/core/Failure.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using lumen::FolderSync;

// One flush covers every rename counted before it; a later rename, or another
// folder, needs a flush of its own.
TEST(FolderSync, OneFlushCoversEveryRenameBeforeIt)
{
    QTemporaryDir a, b;
    FolderSync sync;
    const FolderSync::Ticket first = sync.renamed();
    const FolderSync::Ticket second = sync.renamed();
    sync.makeDurable(a.path(), second);
    sync.makeDurable(a.path(), first);
    EXPECT_EQ(sync.flushes(), 1);

    sync.makeDurable(b.path(), first);
    EXPECT_EQ(sync.flushes(), 2);

    const FolderSync::Ticket third = sync.renamed();
    sync.makeDurable(a.path(), third);
    EXPECT_EQ(sync.flushes(), 3);
}

TEST(FolderSync, AFolderThatCannotBeFlushedIsNamed)
{
    QTemporaryDir dir;
    const QString gone = dir.filePath(QStringLiteral("gone"));
    FolderSync sync;
    try {
        sync.makeDurable(gone, sync.renamed());
        FAIL() << "no failure";
    } catch (const lumen::Failure &f) {
        EXPECT_TRUE(f.description().startsWith(QStringLiteral("Could not flush folder: ") + gone))
            << f.description().toStdString();
    }
    EXPECT_EQ(sync.flushes(), 0);
}
