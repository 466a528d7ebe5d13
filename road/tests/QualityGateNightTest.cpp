// A night that measures the check source first and the samples after: with the
// quality gate on Driftlog's action verdict, a detector out of control stops
// the night before its first sample; without it the night plays as designed.
#include "road/tests/LabFolder.h"

TEST(QualityGateNight, AnActionVerdictOnTheCheckSourceStopsTheNightBeforeItsFirstSample)
{
    LabFolder lab;
    QProcessEnvironment env = lab.environment();
    env.insert(QStringLiteral("LUMEN_HOST_START"), QStringLiteral("2026-12-07 08:00:00"));
    ASSERT_EQ(lab.run(QStringLiteral("Sequa"), {QStringLiteral("check_source.lsf")}, env).status, 0)
        << "the reference";
    // A tolerance no real drift keeps: every later point is judged "action" (4).
    QFile limits(lab.lab(QStringLiteral("StabLimits.txt")));
    ASSERT_TRUE(limits.open(QIODevice::WriteOnly));
    limits.write("gain = 0.000001\r\n");
    limits.close();
    lab.writeScript(QStringLiteral("night.lsf"),
                    {QStringLiteral("ConnectLMN"),
                     QStringLiteral("WaitExtProg Sequa check_source.lsf"),
                     QStringLiteral("WaitExtProg Sequa sample_batch.lsf")});
    env.insert(QStringLiteral("LUMEN_HOST_START"), QStringLiteral("2026-12-07 16:00:00"));
    // Other counts than the reference's, so that the peak's centre moves.
    env.insert(QStringLiteral("LUMEN_HOST_SEED"), QStringLiteral("12"));
    env.insert(QStringLiteral("LUMEN_ANSWERS"), lab.example(QStringLiteral("demo_answers.txt")));

    env.insert(QStringLiteral("LUMEN_QC_GATE"), QStringLiteral("4"));
    const ProgramRun gated = lab.run(QStringLiteral("Sequa"), {QStringLiteral("night.lsf")}, env);
    EXPECT_EQ(gated.status, 4) << qPrintable(gated.err);
    QString journals;
    for (const QString &journal : lab.journals())
        journals += lab.text(journal) + u'\n';
    for (const char *outcome : {"stopped by a quality check: Driftlog ended with status 4",
                                "stopped by a quality check: Sequa ended with status 4"})
        EXPECT_TRUE(journals.contains(QLatin1String(outcome))) << outcome << qPrintable(journals);
    EXPECT_EQ(lab.recordCount(), -1) << "no sample was archived";
    EXPECT_FALSE(QFile::exists(lab.lumen(QStringLiteral("Data/SOIL001.Rpt"))));

    env.remove(QStringLiteral("LUMEN_QC_GATE"));
    const ProgramRun ungated = lab.run(QStringLiteral("Sequa"), {QStringLiteral("night.lsf")}, env);
    EXPECT_EQ(ungated.status, 3) << "the check's failure counts, the batch still plays: "
                                 << qPrintable(ungated.err);
    EXPECT_EQ(lab.recordCount(), 3);
}
