// The lab's quality gate over the programs a run waits for, and what those
// programs are told of the run that started them.
#include "sequa/core/run/QualityGate.h"
#include "common/core/Failure.h"
#include "sequa/tests/PlayerTestBench.h"

#include <QFile>

namespace lumen::sequa::test {
namespace {

/** Sets LUMEN_QC_GATE for one test and takes it away after. */
class GateVariable
{
public:
    explicit GateVariable(const char *value) { qputenv(QualityGate::kVariable, value); }
    ~GateVariable() { qunsetenv(QualityGate::kVariable); }
};

TEST(QualityGate, ReadsAListOfStatusesAndRefusesAnythingElse)
{
    const struct
    {
        const char *value;
        QList<int> stops;
        bool readable;
    } cases[] = {
        {"", {}, true},      {"4", {4}, true},   {" 3, 4  5 ", {3, 4, 5}, true},
        {"four", {}, false}, {"4;5", {}, false}, {"-1", {}, false},
        {"256", {}, false},  {"0x4", {}, false},
    };
    for (const auto &c : cases) {
        GateVariable gate(c.value);
        if (!c.readable) {
            EXPECT_THROW(QualityGate::fromEnvironment(), Failure) << c.value;
            continue;
        }
        const QualityGate read = QualityGate::fromEnvironment();
        EXPECT_EQ(read.isSet(), !c.stops.isEmpty()) << c.value;
        for (int status = 0; status <= 6; ++status)
            EXPECT_EQ(read.stops(status), c.stops.contains(status)) << c.value << " " << status;
    }
}

class GatedRunTest : public PlayerTestBench
{
protected:
    /** Plays a program that exits 4, then one that leaves a mark; returns the run's status. */
    int playCheckThenSample()
    {
        ScriptPlayer player(model(), runner());
        player.PlayScript(QStringLiteral("StartAcquire\r\nWaitExtProg sh -c \"exit 4\"\r\n"
                                         "WaitExtProg touch \"%1\"")
                              .arg(file(QStringLiteral("sampled"))));
        return player.exitStatus();
    }
};

TEST_F(GatedRunTest, AGatedStatusStopsTheRunBeforeItsNextLine)
{
    GateVariable gate("4");
    EXPECT_EQ(playCheckThenSample(), RunRecord::kQualityStop);
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("sampled"))));
    const QString journal = journalText();
    for (const char *entry :
         {"Line 2: WaitExtProg sh -c \"exit 4\" -> OK",
          "stopped by a quality check: sh ended with status 4", "Exit status: 4"})
        EXPECT_TRUE(journal.contains(QString::fromLatin1(entry))) << entry << "\n"
                                                                  << journal.toStdString();
}

TEST_F(GatedRunTest, AStatusTheGateDoesNotListLetsTheRunGoOn)
{
    GateVariable gate("5 6");
    EXPECT_EQ(playCheckThenSample(), RunRecord::kLinesFailed);
    EXPECT_TRUE(QFile::exists(file(QStringLiteral("sampled"))));
}

TEST_F(GatedRunTest, ProgramsLearnTheRunThePassOfEveryOpenLoopAndTheirLine)
{
    const QString out = file(QStringLiteral("provenance.txt"));
    const QString note = QStringLiteral("WaitExtProg sh -c \"echo pass=$LUMEN_RUN_PASS "
                                        "line=$LUMEN_RUN_LINE run=$LUMEN_RUN >> %1\"")
                             .arg(out);
    ScriptPlayer player(model(), runner());
    player.PlayScript(QStringList{QStringLiteral("StartAcquire"), note,
                                  QStringLiteral("DoNumPass 2"), QStringLiteral("LoopBeg"),
                                  QStringLiteral("DoNumPass 2"), QStringLiteral("LoopBeg"), note,
                                  QStringLiteral("LoopEnd"), QStringLiteral("LoopEnd")}
                          .join(QStringLiteral("\r\n")));
    ASSERT_EQ(player.exitStatus(), RunRecord::kCompleted) << journalText().toStdString();
    const QString run = player.journalPath();
    QStringList expected;
    for (const char *pass : {" line=2", "1.1 line=7", "1.2 line=7", "2.1 line=7", "2.2 line=7"})
        expected << QStringLiteral("pass=%1 run=%2").arg(QLatin1String(pass), run);
    EXPECT_EQ(QString::fromLocal8Bit(bytesOf(QStringLiteral("provenance.txt")))
                  .split(u'\n', Qt::SkipEmptyParts),
              expected);
}

} // namespace
} // namespace lumen::sequa::test
