// The Windows bridge as a program: its options and statuses, and --probe.
#include "hostbridge/tests/WineBridge.h"

#include <gtest/gtest.h>

using lumen::test::WineBridge;

TEST(BridgeProgram, StatusSaysWhatWasWrong)
{
    struct Case
    {
        QStringList args;
        QMap<QString, QString> env;
        int status;
        const char *said; ///< on standard error, or standard output for status 0
    };
    const QString listen = QStringLiteral("--listen");
    const Case cases[] = {
        {{"--help"}, {}, 0, "Usage: lumen-host-bridge"},
        {{"--version"}, {}, 0, "lumen-host-bridge "},
        {{"--bogus"}, {}, 2, "unknown argument: --bogus"},
        {{}, {}, 2, "nothing to do"},
        {{listen, "0", "--probe"}, {}, 2, "do not go together"},
        {{listen, "0", "--idle", "soon"}, {}, 2, "--idle"},
        {{listen, "99999"}, {}, 1, "Invalid port: 99999"},
        {{listen, "lab-host:0"}, {}, 1, "Invalid address: lab-host"},
        {{listen, "0.0.0.0:0"}, {}, 1, "without a key"},
        {{listen, "0"}, {{"LUMEN_HOST_TOKEN", "   "}}, 1, "the key is blank"},
        {{listen, "0"}, {{"LUMEN_HOST_TOKEN", "a"}, {"LUMEN_HOST_TOKEN_FILE", "b"}}, 1, "not both"},
        {{listen, "0"}, {{"LUMEN_HOST_TOKEN_FILE", "Z:\\no\\such\\key"}}, 1, "cannot read"},
    };
    for (const Case &c : cases) {
        QProcessEnvironment env = lumen::test::bridgeEnvironment();
        for (auto it = c.env.cbegin(); it != c.env.cend(); ++it)
            env.insert(it.key(), it.value());
        const lumen::test::ProgramRun ran = WineBridge::run(c.args, env);
        const std::string what = c.args.join(u' ').toStdString();
        EXPECT_EQ(ran.status, c.status) << what << "\n" << ran.err.toStdString();
        EXPECT_TRUE((c.status == 0 ? ran.out : ran.err).contains(QLatin1String(c.said)))
            << what << "\n"
            << ran.out.toStdString() << ran.err.toStdString();
    }
}

TEST(BridgeProgram, ProbeMarksTheMethodWhoseDeclaredTypeDiffers)
{
    const lumen::test::ProgramRun agreeing = WineBridge::run({QStringLiteral("--probe")});
    EXPECT_EQ(agreeing.status, 0) << agreeing.out.toStdString() << agreeing.err.toStdString();
    EXPECT_TRUE(agreeing.out.contains(QStringLiteral("GetCounts")));
    EXPECT_FALSE(agreeing.out.contains(QStringLiteral("MISMATCH")));

    QProcessEnvironment env = lumen::test::bridgeEnvironment();
    env.insert(QStringLiteral("LUMEN_TESTHOST_MISDECLARE"), QStringLiteral("1"));
    const lumen::test::ProgramRun misdeclared = WineBridge::run({QStringLiteral("--probe")}, env);
    EXPECT_EQ(misdeclared.status, 1);
    const QStringList marked = misdeclared.out.split(u'\n').filter(QStringLiteral("MISMATCH"));
    ASSERT_EQ(marked.size(), 1) << misdeclared.out.toStdString();
    EXPECT_TRUE(marked[0].startsWith(QStringLiteral("SetLivePreset"))) << marked[0].toStdString();
    EXPECT_TRUE(marked[0].contains(QStringLiteral("(float*)"))) << marked[0].toStdString();
    WineBridge::endWineProcesses();
}
