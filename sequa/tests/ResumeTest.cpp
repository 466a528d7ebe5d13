// A run continued from its journal: the checkpoint entry read back as
// written, a torn last entry left out, and the replay rule on nested and
// sequential loops: which lines a resumed run plays, in which order.
#include "common/core/HeadlessOperator.h"
#include "sequa/core/resume/JournalCheckpoint.h"
#include "sequa/core/resume/JournalReading.h"
#include "sequa/core/run/QualityGate.h"
#include "sequa/core/start/UnattendedStart.h"
#include "sequa/tests/PlayerTestBench.h"

namespace lumen::sequa::test {
namespace {

TEST(JournalCheckpoint, ReadsBackWhatItWritesAndRefusesWhatNoRunWrites)
{
    JournalCheckpoint nested;
    nested.line = 12;
    nested.loops = {{5, 2, 3, {4, 1, 0}}, {9, 1, 2, {6, 1, 1}}};
    nested.now = {7, 2, 1};
    JournalCheckpoint topLevel;
    topLevel.line = 3;
    for (const JournalCheckpoint &c : {nested, topLevel}) {
        EXPECT_EQ(JournalCheckpoint::parse(c.text()), c) << qPrintable(c.text());
    }
    EXPECT_EQ(nested.text(), "Checkpoint: line 12; loops 5:2/3@4/1/0,9:1/2@6/1/1; answers 7; "
                             "failed 2/1");
    for (const char *bad : {"Checkpoint: line 12; loops 5:4/3@0/0/0; answers 0; failed 0/0",
                            "Checkpoint: line 12; loops 9:1/2@0/0/0,5:1/2@0/0/0; answers 0; "
                            "failed 0/0",
                            "Checkpoint: line 4; loops 5:1/2@0/0/0; answers 0; failed 0/0",
                            "Checkpoint: line 12; loops -; answers 0; failed 0",
                            "Checkpoint: line -1; loops -; answers 0; failed 0/0"})
        EXPECT_FALSE(JournalCheckpoint::parse(QLatin1String(bad))) << bad;
}

TEST(JournalReading, TakesTheLastWholeCheckpointAndLeavesATornEntryOut)
{
    const QByteArray journal = "08:00:00 Run started 2026-12-07 08:00:00, unattended\r\n"
                               "08:00:00 Script: /lab/night.lsf\r\n"
                               "08:00:00 SHA-256: abc\r\n"
                               "08:00:00 Resumes: /lab/journal/a.txt\r\n"
                               "08:00:00 Chain: /lab/journal/first.txt\r\n"
                               "08:00:01 Line 1: Script: forged -> OK\r\n"
                               "08:00:01 Checkpoint: line 1; loops -; answers 0; failed 0/0\r\n"
                               "08:00:02 Checkpoint: line 2; loops -; answers 1; failed 0/0\r\n"
                               "08:00:03 Checkpoint: line 3; loo";
    const JournalReading reading = JournalReading::parse(journal);
    EXPECT_EQ(reading.kind, JournalReading::Kind::Run);
    EXPECT_EQ(reading.script, "/lab/night.lsf");
    EXPECT_EQ(reading.sha256, "abc");
    EXPECT_EQ(reading.resumes, "/lab/journal/a.txt");
    EXPECT_EQ(reading.chain, "/lab/journal/first.txt");
    ASSERT_TRUE(reading.checkpoint);
    EXPECT_EQ(reading.checkpoint->line, 2) << "the torn entry is left out";
    EXPECT_TRUE(reading.badCheckpoint.isEmpty());
    EXPECT_FALSE(reading.exitStatus);

    EXPECT_EQ(JournalReading::parse("Checkpoint: line 1; loops -; answers 0; failed 0/0\r\n").kind,
              JournalReading::Kind::NoJournal);
    EXPECT_EQ(JournalReading::parse(journal + "\r\n08:00:04 Checkpoint: line x\r\n").badCheckpoint,
              "Checkpoint: line x")
        << "a whole entry that cannot be read is no checkpoint to skip quietly";
}

class ResumeReplayTest : public PlayerTestBench
{
protected:
    /** Plays the lines as a run resumed at the checkpoint; the marks it set, in order. */
    QStringList resume(const QStringList &lines, const QString &checkpoint,
                       const QStringList &failures = {})
    {
        ResumePlan plan;
        plan.carried = failures;
        plan.journal = plan.chainFirst = file(QStringLiteral("killed.txt"));
        plan.checkpoint = JournalCheckpoint::parse(checkpoint);
        EXPECT_TRUE(plan.checkpoint) << qPrintable(checkpoint);
        ScriptPlayer player(model(), runner());
        player.setResume(plan);
        player.PlayScript(lines.join(QStringLiteral("\r\n")));
        m_status = player.exitStatus();
        QStringList marks;
        for (const QString &id : argsOf(QStringLiteral("SetSpectrumID")))
            marks << id.trimmed();
        return marks;
    }
    /** Plays the script file unattended, or continues the journal (`redo`: --redo-failed). */
    UnattendedStart start(const QString &path, const QString &journal = QString(),
                          bool redo = false)
    {
        UnattendedStart start;
        start.resumeFrom(journal);
        start.setRedoFailed(redo);
        start(*m_program, journal.isEmpty() ? path : journal);
        return start;
    }
    int m_status = -1;
};

TEST_F(ResumeReplayTest, PlaysTheSetUpAgainThenTheInterruptedPassesOnwardAndNoCompletedPass)
{
    const QStringList oneLoop{
        "SetSpectrumID setup", "DoNumPass 3", "LoopBeg", "AutoID", "SetSpectrumID body", "LoopEnd",
        "SetSpectrumID after"};
    const QStringList nested{"SetSpectrumID setup",
                             "DoNumPass 2",
                             "LoopBeg",
                             "SetSpectrumID outer",
                             "DoNumPass 3",
                             "LoopBeg",
                             "AutoID",
                             "LoopEnd",
                             "LoopEnd"};
    QStringList innerThenMore = nested;
    innerThenMore.insert(8, "SetSpectrumID inner done");
    const QStringList sequential{"DoNumPass 2",
                                 "LoopBeg",
                                 "SetSpectrumID first",
                                 "LoopEnd",
                                 "SetSpectrumID between",
                                 "LoopBeg",
                                 "AutoID",
                                 "LoopEnd"};
    struct Case
    {
        const char *what;
        QStringList lines;
        const char *checkpoint;
        QStringList marks;
    };
    const QString n = QStringLiteral("Sample sequence number ");
    const Case cases[] = {
        {"killed inside pass 2",
         oneLoop,
         "line 5; loops 3:2/3@0/0/0; answers 0; failed 0/0",
         {"setup", n + "2", "body", n + "3", "body", "after"}},
        {"killed just after LoopEnd began pass 3",
         oneLoop,
         "line 3; loops 3:3/3@0/0/0; answers 0; failed 0/0",
         {"setup", n + "3", "body", "after"}},
        {"killed after the loop ended",
         oneLoop,
         "line 6; loops -; answers 0; failed 0/0",
         {"setup", "after"}},
        {"nested: the outer pass from its start, the inner from its interrupted pass",
         nested,
         "line 7; loops 3:2/2@0/0/0,6:2/3@0/0/0; answers 0; failed 0/0",
         {"setup", "outer", n + "2", n + "3"}},
        {"killed after the inner loop ended: the outer pass plays again without it",
         innerThenMore,
         "line 8; loops 3:1/2@0/0/0; answers 0; failed 0/0",
         {"setup", "outer", "inner done", "outer", n + "1", n + "2", n + "3", "inner done"}},
        {"sequential: the completed loop is passed over",
         sequential,
         "line 7; loops 6:1/2@0/0/0; answers 0; failed 0/0",
         {"between", n + "1", n + "2"}},
        {"sequential, between the loops",
         sequential,
         "line 5; loops -; answers 0; failed 0/0",
         {"between", n + "1", n + "2"}},
    };
    for (const Case &c : cases) {
        m_recording->calls.clear();
        EXPECT_EQ(resume(c.lines, QStringLiteral("Checkpoint: ") + QLatin1String(c.checkpoint)),
                  c.marks)
            << c.what;
        EXPECT_EQ(m_status, RunRecord::kCompleted) << c.what;
    }
}

TEST_F(ResumeReplayTest, APassPlayedAgainCountsItsOwnFailuresAndThoseOfTheLoopsItPassesOver)
{
    const QStringList lines{"DoNumPass 2",
                            "LoopBeg",
                            "DoNumPass 3",
                            "LoopBeg",
                            "AutoID",
                            "LoopEnd",
                            "SetSpectrumID inner done",
                            "LoopEnd"};
    // Killed in outer pass 1 after its inner loop; one line had failed before.
    const QString killed = "Checkpoint: line 7; loops 2:1/2@0/0/0; answers 0; failed 1/0";
    struct Case
    {
        const char *what;
        QStringList failures;
        int status;
    };
    const Case cases[] = {
        {"the failed line was in an inner pass, passed over now",
         {"Failed pass: line 4; loops 2:1/2@0/0/0,4:2/3@0/0/0; answers 0; failed 0/0"},
         RunRecord::kLinesFailed},
        {"the failed line was in the outer pass, played again without failing", {}, 0},
    };
    for (const Case &c : cases) {
        resume(lines, killed, c.failures);
        EXPECT_EQ(m_status, c.status) << c.what;
    }
}

TEST_F(ResumeReplayTest, APassPlayedAgainTakesTheAnswersAndFailuresOfItsStart)
{
    QTemporaryDir dir;
    QFile answers(dir.filePath(QStringLiteral("answers.txt")));
    ASSERT_TRUE(answers.open(QIODevice::WriteOnly));
    answers.write("3\r\n100\r\n200\r\n300\r\n");
    answers.close();
    qputenv("LUMEN_ANSWERS", QFile::encodeName(answers.fileName()));
    HeadlessOperator headless;
    qunsetenv("LUMEN_ANSWERS");
    setCurrentOperator(&headless);
    const QStringList lines{"DoNumPass 0", "LoopBeg", "AskLivePreset", "LoopEnd"};
    // Pass 3 began after three answers and one failed line; the run died in it.
    resume(lines, "Checkpoint: line 3; loops 2:3/3@3/1/0; answers 4; failed 1/0");
    setCurrentOperator(&m_operator);
    EXPECT_EQ(argsOf(QStringLiteral("SetLivePreset")), QStringList{"300"})
        << "the set-up's DoNumPass takes answer 1 again, pass 3 its own";
    EXPECT_EQ(m_status, RunRecord::kLinesFailed) << "the failure of an earlier pass still counts";
    const QString journal = journalText();
    EXPECT_TRUE(journal.contains("Resumes: " + file(QStringLiteral("killed.txt"))));
    EXPECT_TRUE(journal.contains("Continues at line 3, loop at line 2 pass 3 of 3"));
    EXPECT_TRUE(journal.contains("Checkpoint: line 4; loops -; answers 4; failed 1/0"));
    EXPECT_TRUE(QString::fromLatin1(bytesOf(QStringLiteral("killed.txt")))
                    .contains("Continued by: " + file(QStringLiteral("journal"))));
}

TEST_F(ResumeReplayTest, RedoFailedPlaysExactlyTheFailedPassesUnderTheRunsIdentity)
{
    // Each pass's program says where it ran; it fails in one pass until "fixed" exists.
    const auto program = [&](const char *failingPass) {
        return QStringLiteral("WaitExtProg sh -c \"echo $LUMEN_RUN $LUMEN_RUN_PASS "
                              "$LUMEN_RUN_LINE >> %1; test -e %2 || test $LUMEN_RUN_PASS != %3\"")
            .arg(file(QStringLiteral("runs.txt")), file(QStringLiteral("fixed")),
                 QLatin1String(failingPass));
    };
    struct Case
    {
        const char *what;
        QStringList lines;
        QStringList redone;
        int failedRun; ///< the program run of the original that failed, counted from 0
    };
    const QString n = QStringLiteral("Sample sequence number ");
    const Case cases[] = {
        {"one loop", {"DoNumPass 3", "LoopBeg", "AutoID", program("2"), "LoopEnd"}, {n + "2"}, 1},
        {"nested: the inner pass of the outer pass",
         {"DoNumPass 2", "LoopBeg", "DoNumPass 2", "LoopBeg", "AutoID", program("2.1"), "LoopEnd",
          "SetSpectrumID outer end", "LoopEnd"},
         {n + "1"},
         2},
    };
    for (const Case &c : cases) {
        QFile::remove(file(QStringLiteral("fixed")));
        QFile::remove(file(QStringLiteral("runs.txt")));
        writeFile(QStringLiteral("night.lsf"), c.lines.join(QStringLiteral("\r\n")).toLatin1());
        const UnattendedStart night = start(file(QStringLiteral("night.lsf")));
        ASSERT_EQ(night.exitStatus(), RunRecord::kLinesFailed) << c.what;
        EXPECT_TRUE(journalText().contains("Failed pass: ")) << c.what;
        EXPECT_EQ(start(QString(), night.journalPath()).exitStatus(), RunRecord::kNotPlayed)
            << c.what << ": a plain resume of a run that ended 3 still plays nothing";

        writeFile(QStringLiteral("fixed"), "");
        m_recording->calls.clear();
        const UnattendedStart redo = start(QString(), night.journalPath(), true);
        EXPECT_EQ(redo.exitStatus(), RunRecord::kCompleted) << c.what;
        QStringList marks;
        for (const QString &id : argsOf(QStringLiteral("SetSpectrumID")))
            marks << id.trimmed();
        EXPECT_EQ(marks, c.redone) << c.what;
        const QStringList runs = QString::fromLatin1(bytesOf(QStringLiteral("runs.txt")))
                                     .split(u'\n', Qt::SkipEmptyParts);
        EXPECT_EQ(runs.last(), runs.value(c.failedRun))
            << c.what << ": the same run, pass and line, so the archive supersedes";

        for (const QString &again : {night.journalPath(), redo.journalPath()})
            EXPECT_EQ(start(QString(), again, true).exitStatus(), RunRecord::kNotPlayed)
                << c.what << ": redone once; a run that ended 0 has nothing to redo";
    }
}

TEST_F(ResumeReplayTest, AFailedPassStaysNamedAcrossAResumeSoThatARedoFindsIt)
{
    writeFile(QStringLiteral("night.lsf"),
              "DoNumPass 2\r\nLoopBeg\r\nAutoID\r\nWaitExtProg sh -c \"test -e " +
                  file(QStringLiteral("fixed")).toLatin1() +
                  " || test $LUMEN_RUN_PASS != 1\"\r\nWaitSeconds 60\r\nLoopEnd\r\n");
    // The night dies in pass 2, after pass 1's program failed.
    alsoOnAdvance([&](qint64) {
        if (model().currentLine() == 5 && model().loopCounter(1) == 2 &&
            !model().runRecord().stopRequested() && !QFile::exists(file(QStringLiteral("once"))))
            model().runRecord().requestStop(QStringLiteral("interrupted by SIGTERM"));
    });
    const UnattendedStart killed = start(file(QStringLiteral("night.lsf")));
    ASSERT_EQ(killed.exitStatus(), RunRecord::kStopped);
    writeFile(QStringLiteral("once"), "");
    const UnattendedStart resumed = start(QString(), killed.journalPath());
    EXPECT_EQ(resumed.exitStatus(), RunRecord::kLinesFailed);
    EXPECT_TRUE(journalText().contains("Failed pass: line 2; loops 2:1/2@0/0/0"))
        << qPrintable(journalText());

    writeFile(QStringLiteral("fixed"), "");
    m_recording->calls.clear();
    EXPECT_EQ(start(QString(), resumed.journalPath(), true).exitStatus(), RunRecord::kCompleted);
    EXPECT_EQ(argsOf(QStringLiteral("SetSpectrumID")).value(0).trimmed(),
              "Sample sequence number 1");
    EXPECT_EQ(argsOf(QStringLiteral("SetSpectrumID")).size(), 1);
}

TEST_F(ResumeReplayTest, TheQualityGateTravelsWithTheRunItStopped)
{
    writeFile(QStringLiteral("gated.lsf"), "StartAcquire\r\nWaitExtProg sh -c \"test -e " +
                                               file(QStringLiteral("fixed")).toLatin1() +
                                               " || exit 4\"\r\nStopAcquire\r\n");
    qputenv(QualityGate::kVariable, "4");
    const UnattendedStart stopped = start(file(QStringLiteral("gated.lsf")));
    qunsetenv(QualityGate::kVariable);
    ASSERT_EQ(stopped.exitStatus(), RunRecord::kQualityStop);

    const UnattendedStart again = start(QString(), stopped.journalPath());
    EXPECT_EQ(again.exitStatus(), RunRecord::kQualityStop) << "no LUMEN_QC_GATE, the run's gate";
    EXPECT_TRUE(qEnvironmentVariableIsEmpty(QualityGate::kVariable));
    const QString journal = journalText();
    for (const char *entry : {"Quality gate: 4", "Resumes a run stopped by the quality gate: "
                                                 "the run was stopped by a quality check: sh "
                                                 "ended with status 4"})
        EXPECT_TRUE(journal.contains(QLatin1String(entry))) << entry << qPrintable(journal);

    writeFile(QStringLiteral("fixed"), "");
    EXPECT_EQ(start(QString(), again.journalPath()).exitStatus(), RunRecord::kCompleted);
    EXPECT_EQ(m_recording->callsOf(QStringLiteral("StopAcquire")).size(), 1);
}

} // namespace
} // namespace lumen::sequa::test
