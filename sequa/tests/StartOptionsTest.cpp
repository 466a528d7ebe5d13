#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifdef SEQUA_EXE

namespace {

TEST(StartOptions, AnUnknownOptionIsRefusedWithTheHelpHintAndNoJournal)
{
    for (const char *option : {"--bogus", "-x"}) {
        QTemporaryDir folder;
        const QString copy = folder.filePath(QStringLiteral("Sequa"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(SEQUA_EXE), copy));
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(folder.path());
        process.start(copy, {QString::fromLatin1(option)});
        ASSERT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 2) << option;
        const QString err = QString::fromLocal8Bit(process.readAllStandardError());
        EXPECT_TRUE(err.contains(QStringLiteral("unknown option: ") + QLatin1String(option)) &&
                    err.contains(QStringLiteral("Sequa --help")))
            << err.toStdString();
        EXPECT_FALSE(QDir(folder.filePath(QStringLiteral("journal"))).exists()) << option;
    }
}

} // namespace

#endif
