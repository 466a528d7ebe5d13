// A night's sample batch whose archive refuses every record must not read as
// a good night: the run ends with status 3 and its journal names each refused
// APPEND, although WaitExtProg answers "OK" as designed.
#include "road/tests/LabFolder.h"

#include <QDir>
#include <QRegularExpression>

TEST(RefusingArchive, SampleBatchEndsWithThreeAndTheJournalNamesEveryRefusedAppend)
{
    LabFolder lab;
    ASSERT_TRUE(QDir().mkpath(lab.database())) << "a folder where the archive should be";
    QProcessEnvironment env = lab.environment();
    env.insert(QStringLiteral("LUMEN_ANSWERS"), lab.example(QStringLiteral("demo_answers.txt")));
    const ProgramRun batch =
        lab.run(QStringLiteral("Sequa"), {QStringLiteral("sample_batch.lsf")}, env);
    EXPECT_EQ(batch.status, 3) << qPrintable(batch.err);

    const QString journal = lab.lastJournal();
    const QRegularExpression refused(
        QStringLiteral(R"(Line (\d+): the program "Ledgerly APPEND" ended: exit status [1-9])"));
    QStringList lines;
    for (auto match = refused.globalMatch(journal); match.hasNext();)
        lines << match.next().captured(1);
    EXPECT_EQ(lines.size(), 3) << qPrintable(journal);
    EXPECT_TRUE(journal.contains(QStringLiteral("3 program(s) ended with a failure (line ") +
                                 lines.join(QStringLiteral(", ")) + QStringLiteral(")")))
        << qPrintable(journal);
    EXPECT_TRUE(journal.contains(QStringLiteral("Exit status: 3"))) << qPrintable(journal);
}
