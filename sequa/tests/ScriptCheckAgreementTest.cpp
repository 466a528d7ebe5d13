// Sequa --check says what the run will say: for scripts whose fate the
// simulated host decides, the check fails (1) exactly when the run does not
// end with 0. Both are the built program.
#include "common/testsupport/ProgramFolder.h"

#include <QFile>
#include <gtest/gtest.h>

#ifdef SEQUA_EXE

namespace {

using lumen::test::ProgramFolder;
using lumen::test::ProgramRun;

struct AgreementCase
{
    QByteArray script;
    int runStatus;
};

QByteArray lines(std::initializer_list<QByteArray> each)
{
    QByteArray script;
    for (const QByteArray &line : each)
        script += line + "\r\n";
    return script;
}

TEST(ScriptCheckAgreement, TheCheckFailsExactlyTheScriptsWhoseRunFails)
{
    const QByteArray c = "ConnectLMN";
    const QList<AgreementCase> cases = {
        {lines({c, "PresetsOn", "SetLivePreset 5", "StartAcquire", "WaitPreset"}), 0},
        {"\xEF\xBB\xBF" + lines({c, "SetSpectrumID Boden \xC3\x9C-3"}), 0},
        {lines({c, "AnalyzeBogus"}), 3},
        {lines({c, "GetROIData 7"}), 3},
        {lines({c, "SampleDate 2026-13-45"}), 3},
        {lines({c, "SelectLibNOSUCH.LIB"}), 3},
        {lines({c, "SaveSpectrum "}), 3},
        {lines({c, QByteArray("ShowMsg a\0b", 11)}), 3},
        {lines({c, "WaitPreset"}), 3}, // nothing acquires: it can never end
        {lines({c, "WaitSecs 5"}), 3},
        {lines({c, "LoopBeg", "Beep"}), 1},
        {"", 1},
        {lines({"; a comment only", ""}), 1},
    };
    ProgramFolder lab({QStringLiteral(SEQUA_EXE)});
    lab.environment().insert(QStringLiteral("LUMEN_HOST_SPEED"), QStringLiteral("1000"));
    const QString script = lab.filePath(QStringLiteral("night.lsf"));
    for (const AgreementCase &k : cases) {
        QFile file(script);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(k.script);
        file.close();
        const ProgramRun run = lab.run({script});
        const ProgramRun check = lab.run({QStringLiteral("--check"), script});
        EXPECT_EQ(run.status, k.runStatus) << k.script.constData() << qPrintable(run.err);
        EXPECT_EQ(check.status, run.status == 0 ? 0 : 1)
            << k.script.constData() << qPrintable(check.out);
    }
}

} // namespace

#endif
