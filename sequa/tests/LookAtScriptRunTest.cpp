// The built program's ways to look at a script without playing it: --check
// and --open, seen from the command line.
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifdef SEQUA_EXE

namespace {

TEST(LookAtScriptRun, OptionsAnswerOnTheCommandLine)
{
    QTemporaryDir folder;
    const QString script = folder.filePath(QStringLiteral("one.lsf"));
    QFile file(script);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("ConnectLMN\r\nWaitSeconds 30\r\nBeeep\r\n");
    file.close();
    const QString missing = folder.filePath(QStringLiteral("none.lsf"));

    struct Case
    {
        QStringList args;
        int status;
        QString out;
        QString err;
    };
    const QList<Case> cases = {
        {{"--check", script},
         1,
         script + ":3: error: unknown command \"Beeep\" (did you mean Beep?)\n"
                  "estimated run time 0:00:34\n",
         ""},
        {{"--open", missing}, 2, "", "Sequa: cannot open the script"},
    };
    for (const Case &k : cases) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.insert(QStringLiteral("LUMEN_ROOT"), folder.path());
        env.insert(QStringLiteral("LUMEN_PROGRAM_DIR"), folder.path());
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(SEQUA_EXE), k.args);
        ASSERT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitCode(), k.status) << k.args.join(u' ').toStdString();
        EXPECT_EQ(QString::fromLocal8Bit(process.readAllStandardOutput()), k.out);
        const QString err = QString::fromLocal8Bit(process.readAllStandardError());
        EXPECT_TRUE(err.contains(k.err)) << err.toStdString();
    }
}

} // namespace

#endif
