// Files that several programs write: appends from many processes at once,
// the leftovers of interrupted replaces, and names that are links.
#include "common/core/Failure.h"
#include "common/core/SafeFile.h"
#include "common/testsupport/ProgramFolder.h"
#include "common/testsupport/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace lumen;

namespace {

constexpr int kWriters = 4;
constexpr int kLinesEach = 500;

} // namespace

TEST(SafeFileSharing, FourProcessesAppendingAtOnceLoseNoLine)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("StabData.txt"));
    std::vector<std::unique_ptr<QProcess>> writers;
    for (int w = 0; w < kWriters; ++w) {
        auto &p = writers.emplace_back(std::make_unique<QProcess>());
        p->start(QStringLiteral(APPEND_WRITER),
                 {path, QStringLiteral("w%1").arg(w), QString::number(kLinesEach)});
    }
    for (auto &p : writers) {
        const test::ProgramRun wrote = test::ProgramFolder::finish(*p, 120000);
        EXPECT_EQ(wrote.status, 0) << wrote.err.toStdString();
    }

    const QList<QByteArray> lines = test::fileBytes(path).split('\n');
    ASSERT_EQ(lines.size(), kWriters * kLinesEach + 1) << "each line once, ended by CR LF";
    EXPECT_TRUE(lines.last().isEmpty());
    static const QRegularExpression whole(QStringLiteral("^w([0-9]) ([0-9]+) \\.{80}\r$"));
    std::vector<int> next(kWriters, 0);
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const auto m = whole.match(QString::fromLatin1(lines[i]));
        ASSERT_TRUE(m.hasMatch()) << "line " << i << " is torn: " << lines[i].toStdString();
        const int w = m.captured(1).toInt();
        ASSERT_LT(w, kWriters);
        EXPECT_EQ(m.captured(2).toInt(), next[w]++) << "each writer's lines in its order";
    }
    EXPECT_EQ(next, std::vector<int>(kWriters, kLinesEach));
}

namespace {

/** Sets the file's times `seconds` into the past, as if it had lain there that long. */
// Older than the file system made it: the sweep measures against a file's
// own time, whatever the process's clock says.
bool ageBy(const QString &path, int seconds)
{
    struct stat st;
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    const timeval then{st.st_mtime - seconds, 0};
    const timeval times[2] = {then, then};
    return ::lutimes(QFile::encodeName(path).constData(), times) == 0;
}

} // namespace

TEST(SafeFileSharing, AKilledReplaceLeavesANamedPartialFileTheNextReplaceRemoves)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("S.Ans"));
    const pid_t pid = ::fork();
    if (pid == 0) {
        // A file size limit kills the writer in the middle of its write.
        rlimit rl{1024, 1024};
        ::setrlimit(RLIMIT_FSIZE, &rl);
        rlimit noCore{0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);
        safefile::replace(path, QByteArray(4096, 'x'));
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the replace was to be killed";
    const QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    ASSERT_EQ(left.size(), 1);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\.S\\.Ans\\.lumen-partial-[A-Za-z0-9]{6}$"))
                    .match(left[0])
                    .hasMatch())
        << left[0].toStdString();

    const struct
    {
        const char *name;
        int age; ///< seconds
        bool removed;
    } entries[] = {
        {".T.Ans.lumen-partial-Ab12Cd", 3600, true},  {".T.Ans.lumen-partial-Ef34Gh", 61, true},
        {".T.Ans.lumen-partial-Ij56Kl", 10, false}, // a replace may still be writing it
        {".T.Ans.lumen-partial-abc", 3600, false},    {"T.Ans.lumen-partial-Mn78Op", 3600, false},
        {".T.Ans.lumen-partial-Qr9$St", 3600, false}, {"notes.txt", 3600, false},
    };
    ASSERT_TRUE(ageBy(dir.filePath(left[0]), 120));
    for (const auto &e : entries) {
        ASSERT_TRUE(test::writeBytes(dir.filePath(QLatin1String(e.name)), "partial"));
        ASSERT_TRUE(ageBy(dir.filePath(QLatin1String(e.name)), e.age));
    }
    // Only files: a folder or a link with such a name is someone else's.
    const QString folder = dir.filePath(QStringLiteral(".U.lumen-partial-Uv12Wx"));
    const QString link = dir.filePath(QStringLiteral(".V.lumen-partial-Yz34Ab"));
    ASSERT_TRUE(QDir().mkdir(folder));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("notes.txt")), link));
    ASSERT_TRUE(ageBy(folder, 3600) && ageBy(link, 3600));

    safefile::replace(dir.filePath(QStringLiteral("Other.Ans")), "new");

    EXPECT_FALSE(QFileInfo::exists(dir.filePath(left[0])));
    for (const auto &e : entries)
        EXPECT_EQ(QFileInfo::exists(dir.filePath(QLatin1String(e.name))), !e.removed) << e.name;
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(test::fileBytes(dir.filePath(QStringLiteral("Other.Ans"))), "new");
}

TEST(SafeFileSharing, WritingThroughASymbolicLinkReplacesItsFileAndKeepsTheLink)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("store")));
    const QString stored = dir.filePath(QStringLiteral("store/StabData.txt"));
    ASSERT_TRUE(test::writeBytes(stored, "old\r\n"));
    ASSERT_EQ(::chmod(QFile::encodeName(stored).constData(), 0640), 0);

    const struct
    {
        const char *link;
        const char *pointsTo; ///< as written in the link
        const char *file;     ///< the file that must get the bytes, from dir
    } cases[] = {
        {"absolute.txt", "", "store/StabData.txt"}, // "" stands for the absolute path
        {"relative.txt", "store/StabData.txt", "store/StabData.txt"},
        {"chain.txt", "relative.txt", "store/StabData.txt"},
        {"dangling.txt", "store/New.txt", "store/New.txt"},
    };
    for (const auto &c : cases) {
        const QString link = dir.filePath(QLatin1String(c.link));
        const QByteArray to = *c.pointsTo ? QByteArray(c.pointsTo) : QFile::encodeName(stored);
        ASSERT_EQ(::symlink(to.constData(), QFile::encodeName(link).constData()), 0);
        const QByteArray bytes = QByteArray("new through ") + c.link + "\r\n";
        safefile::replace(link, bytes);
        EXPECT_TRUE(QFileInfo(link).isSymLink()) << c.link << ": the link stays";
        EXPECT_EQ(test::fileBytes(dir.filePath(QLatin1String(c.file))), bytes) << c.link;
        safefile::append(link, "more\r\n");
        EXPECT_EQ(test::fileBytes(dir.filePath(QLatin1String(c.file))), bytes + "more\r\n")
            << c.link;
    }
    EXPECT_EQ(QFileInfo(stored).permissions() & QFileDevice::ReadOther, 0) << "its mode is kept";

    const QString loop = dir.filePath(QStringLiteral("loop.txt"));
    ASSERT_EQ(::symlink("loop.txt", QFile::encodeName(loop).constData()), 0);
    EXPECT_THROW(safefile::replace(loop, "x"), Failure);
    EXPECT_TRUE(QFileInfo(loop).isSymLink());
}
