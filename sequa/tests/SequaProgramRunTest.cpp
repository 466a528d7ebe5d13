#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifdef SEQUA_EXE

namespace {

struct ProgramRun
{
    int exitCode = -1;
    QString out;
};

/** Runs a copy of the built program in `folder` with the arguments. */
ProgramRun runCopy(const QTemporaryDir &folder, const QStringList &args)
{
    const QString copy = folder.filePath(QStringLiteral("Sequa"));
    if (!QFile::exists(copy)) {
        EXPECT_TRUE(QFile::copy(QStringLiteral(SEQUA_EXE), copy));
        QFile::setPermissions(copy, QFile::permissions(copy) | QFile::ExeOwner);
    }
    QProcess process;
    process.setWorkingDirectory(folder.path());
    process.start(copy, args);
    EXPECT_TRUE(process.waitForFinished(30000));
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput())};
}

TEST(SequaProgramRun, AnswersHelpAndVersionWithoutTouchingAnyFile)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const ProgramRun version = runCopy(folder, {QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.startsWith(QStringLiteral("Sequa "))) << version.out.toStdString();
    const ProgramRun help = runCopy(folder, {QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("SCRIPT")));
    for (const char *said :
         {"0  the script ran", "1  the run was stopped", "2  nothing was played",
          "3  the script ran", "journal/", "LUMEN_HOST ", "LUMEN_HOST_TIMEOUT", "LUMEN_HOST_SEED",
          "LUMEN_HOST_SPEED", "LUMEN_HOST_CHANNELS", "LUMEN_HOST_START", "LUMEN_HOST_FAULTS",
          "LUMEN_ANSWERS", "LUMEN_PROGRAM_DIR", "LUMEN_ROOT", "LUMEN_SEQUA_DEPTH"})
        EXPECT_TRUE(help.out.contains(QLatin1String(said))) << said;
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("Sequa")});
}

} // namespace

#endif
