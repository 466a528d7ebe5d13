// The built program's ways to look at a script without playing it: --check
// and --open, seen from the command line.
#include "common/testsupport/ProgramFolder.h"

#include <QFile>
#include <gtest/gtest.h>

#ifdef SEQUA_EXE

namespace {

TEST(LookAtScriptRun, OptionsAnswerOnTheCommandLine)
{
    lumen::test::ProgramFolder folder({QStringLiteral(SEQUA_EXE)});
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
        const lumen::test::ProgramRun run = folder.run(k.args);
        EXPECT_EQ(run.status, k.status) << k.args.join(u' ').toStdString();
        EXPECT_EQ(run.out, k.out);
        EXPECT_TRUE(run.err.contains(k.err)) << run.err.toStdString();
    }
}

} // namespace

#endif
