// Sequa --check: the findings of each kind, the estimated run time of
// scripts whose real duration is known, and that the check keeps its hands
// off the lab (no writes, no programs started).
#include "common/testsupport/TestSupport.h"
#include "sequa/core/check/RunEstimate.h"
#include "sequa/core/check/ScriptCheckMode.h"
#include "sequa/core/check/ScriptChecker.h"
#include "sequa/core/run/ClockText.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <gtest/gtest.h>
#include <iterator>

namespace {

using namespace lumen;
using namespace lumen::sequa;
using Severity = ScriptFinding::Severity;

QByteArray scriptBytes(const QStringList &lines)
{
    return lines.join(QStringLiteral("\r\n")).toLatin1() + "\r\n";
}

class ScriptCheck : public ::testing::Test
{
protected:
    ScriptCheck()
    {
        m_places.programFolder = m_folder.path();
        m_places.hostDataFolder = m_folder.path();
        m_places.findProgram = [](const QString &name) {
            return name == QStringLiteral("Ledgerly") ? QStringLiteral("/opt/Ledgerly") : QString();
        };
        test::writeBytes(m_folder.filePath(QStringLiteral("Id.txt")), "SOIL-1\r\n");
    }

    ScriptFindings findingsOf(const QByteArray &bytes) const
    {
        return ScriptChecker::check(bytes, m_places).findings;
    }

    QTemporaryDir m_folder;
    ScriptCheckPlaces m_places;
};

struct FindingCase
{
    QStringList lines;
    int line;
    Severity severity;
    const char *saying;
};

TEST_F(ScriptCheck, FindsEachKindOnItsLine)
{
    const QString c = QStringLiteral("ConnectLMN");
    const QList<FindingCase> cases = {
        {{c, "WaitPrest"}, 2, Severity::Error, "did you mean WaitPreset?"},
        {{c, "startacquire"}, 2, Severity::Error, "did you mean StartAcquire?"},
        {{c, "SetLivePrset 60"}, 2, Severity::Error, "did you mean SetLivePreset?"},
        {{c, "LoopEdn"}, 2, Severity::Error, "did you mean LoopEnd?"},
        {{c, "Beep twice"}, 2, Severity::Error, "Beep must stand alone"},
        {{c, "  ; note"}, 2, Severity::Error, "must be the line's first character"},
        {{c, " ConnectLMN"}, 2, Severity::Error, "Connect must be the line's first"},
        {{"Beep", c}, 1, Severity::Error, "before the first Connect line"},
        {{c, "LoopBeg", "Beep"}, 2, Severity::Error, "LoopBeg without LoopEnd"},
        {{c, "LoopEnd"}, 2, Severity::Error, "LoopEnd without LoopBeg"},
        {{c, "AutoID"}, 2, Severity::Error, "Cannot use AutoID outside loop"},
        {{c, "AutoSaveSpcSPEC"}, 2, Severity::Error, "Cannot use AutoSaveSpc outside loop"},
        {{c, "CopySpectrum 40000,1"}, 2, Severity::Error, "Overflow"},
        {{c, "SetPrimary 9"}, 2, Severity::Error, "memories are 1 to 8"},
        {{c, "CopySpectrum 2"}, 2, Severity::Error, "source spectrum is read as 0"},
        {{c, "SetExtOut 1,on"}, 2, Severity::Error, "\"on\" is no number"},
        {{c, "WaitInput 1,2"}, 2, Severity::Error, "can never be seen"},
        {{c, "DoNumPass -2"}, 2, Severity::Error, "less than 1 pass"},
        {{c, "SaveRprtRapidScan"}, 2, Severity::Error, "needs a comma"},
        {{c, "LoadConfigdet.cfg"}, 2, Severity::Error, "needs a comma"},
        {{c, "GetID Wt.txt"}, 2, Severity::Warning, "Wt.txt does not exist now"},
        {{c, "LoadROIsnone.roi"}, 2, Severity::Warning, "ROI file"},
        {{c, "LoadConfignone.cfg,All"}, 2, Severity::Warning, "configuration file"},
        {{c, "WaitExtProg Driftlog GAIN"}, 2, Severity::Error, "program Driftlog is not found"},
        {{c, "CallExtProg"}, 2, Severity::Error, "command line is blank"},
        {{c, "WaitDlgLoad the next sample"}, 2, Severity::Warning, "waits for the operator"},
    };
    for (const FindingCase &k : cases) {
        // The finding meant, and no other of its severity.
        const ScriptFindings found = findingsOf(scriptBytes(k.lines));
        ScriptFindings alike;
        std::copy_if(found.begin(), found.end(), std::back_inserter(alike),
                     [&](const ScriptFinding &f) { return f.severity == k.severity; });
        ASSERT_EQ(alike.size(), 1u) << k.lines.join(QStringLiteral(" / ")).toStdString();
        EXPECT_EQ(alike[0].line, k.line) << k.saying;
        EXPECT_TRUE(alike[0].text.contains(QLatin1String(k.saying))) << alike[0].text.toStdString();
    }
}

TEST_F(ScriptCheck, ASoundScriptHasNothingToSay)
{
    EXPECT_TRUE(
        findingsOf(scriptBytes({"; batch", "ConnectLMN", "DoNumPass 0", "LoopBeg", "GetID Id.txt",
                                "AutoID", "AutoSaveSpcSPEC", "SaveRprtPeakFind,R1",
                                "WaitExtProg Ledgerly APPEND", "LoopEnd", "", "SetPrimary 8"}))
            .empty());
}

TEST_F(ScriptCheck, LoopsNestTenDeepAtMost)
{
    QStringList lines{QStringLiteral("ConnectLMN")};
    for (int i = 0; i < 11; ++i)
        lines.append(QStringLiteral("LoopBeg"));
    for (int i = 0; i < 11; ++i)
        lines.append(QStringLiteral("LoopEnd"));
    const ScriptFindings found = findingsOf(scriptBytes(lines));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].line, 12);
    EXPECT_TRUE(found[0].text.contains(QLatin1String("at most 10 loops")));
}

TEST_F(ScriptCheck, TellsOfBytesTheRunMisreads)
{
    struct Case
    {
        QByteArray bytes;
        int line;
        Severity severity;
        const char *saying;
    };
    const QList<Case> cases = {
        {"\xEF\xBB\xBF"
         "ConnectLMN\r\n; \xCE\xA9 in a comment plays\r\nSetSpectrumID Boden \xCE\xA9\r\n",
         3, Severity::Error, "\"\u03A9\" cannot go into Windows-1252"},
        {"ConnectLMN\r\nShowMsg a\x81z\r\n", 2, Severity::Warning, "byte 0x81 at column 10"},
        {"ConnectLMN\r\nShowMsg Gr\xC3\xBC\xC3\x9F"
         "e\r\n",
         2, Severity::Warning, "UTF-8"},
    };
    for (const Case &k : cases) {
        const ScriptFindings found = findingsOf(k.bytes);
        ASSERT_EQ(found.size(), 1u) << k.saying;
        EXPECT_EQ(found[0].line, k.line) << k.saying;
        EXPECT_EQ(found[0].severity, k.severity) << k.saying;
        EXPECT_TRUE(found[0].text.contains(QString::fromUtf8(k.saying)))
            << found[0].text.toStdString();
    }
    // UTF-8 after the mark is read as the run reads it: nothing to tell.
    EXPECT_TRUE(findingsOf("\xEF\xBB\xBF"
                           "ConnectLMN\r\nSetSpectrumID Boden \xC3\x9C-3\r\n")
                    .empty());
}

TEST_F(ScriptCheck, LinesBeyondTheScriptBoxAreDroppedAndNotChecked)
{
    QStringList lines{QStringLiteral("ConnectLMN")};
    while (lines.join(QStringLiteral("\r\n")).size() < 32000)
        lines.append(QStringLiteral("ShowMsg ") + QString(90, u'x'));
    const int firstDropped = int(lines.size()) + 1;
    lines += {QStringLiteral("NoSuchCommand"), QStringLiteral("Beep")};
    const ScriptChecker::Result result = ScriptChecker::check(scriptBytes(lines), m_places);
    ASSERT_EQ(result.findings.size(), 1u);
    EXPECT_EQ(result.findings[0].line, firstDropped);
    EXPECT_TRUE(result.findings[0].text.contains(QLatin1String("the 1 after it are dropped")));
    EXPECT_EQ(result.lines.size(), firstDropped - 1);
}

// ---- the estimate ----------------------------------------------------------------

struct EstimateCase
{
    QStringList lines;
    QStringList answers;
    double lowest; ///< seconds a real run takes at least
    double highest;
};

TEST_F(ScriptCheck, EstimateIsTheRealDurationOfTheRun)
{
    const QString c = QStringLiteral("ConnectLMN");
    const QList<EstimateCase> cases = {
        // WaitSeconds counts whole seconds of the time of day, so it may end half a second early.
        {{c, "WaitSeconds 90"}, {}, 89.5, 90},
        {{c, "DoNumPass 3", "LoopBeg", "WaitSeconds 10", "LoopEnd"}, {}, 28.5, 30},
        // A DoNumPass prompt takes the answer given ahead, else its default of one pass.
        {{c, "DoNumPass 0", "LoopBeg", "WaitSeconds 10", "LoopEnd"}, {"4"}, 38, 40},
        {{c, "DoNumPass 0", "LoopBeg", "WaitSeconds 10", "LoopEnd"}, {}, 9.5, 10},
        // The preset, then at most one poll interval, then the 2-second tail.
        {{c, "PresetsOff", "SetRealPreset 60", "PresetsOn", "StartAcquire", "WaitPreset"},
         {},
         62,
         63.25},
        // Live time runs slower than real time by the dead time.
        {{c, "PresetsOff", "SetLivePreset 100", "PresetsOn", "StartAcquire", "WaitPreset"},
         {},
         102.01,
         110},
        {{c, "WaitExtProg Ledgerly APPEND"}, {}, 5, 5},
        {{c, "ShowMsg Next sample"}, {}, 1.5, 1.5},
        {{c, "NoSuchCommand"}, {}, 4, 4}, // the error panel stands 16 ticks
        {{c, "DoNumPass 9999", "LoopBeg", "SetPrimary1", "LoopEnd"}, {}, 0, 0},
    };
    for (const EstimateCase &k : cases) {
        const RunEstimate estimate = RunEstimate::ofScript(k.lines, m_places, k.answers);
        const std::string what = k.lines.join(QStringLiteral(" / ")).toStdString();
        EXPECT_TRUE(estimate.complete) << what;
        EXPECT_GE(estimate.seconds, k.lowest) << what;
        EXPECT_LE(estimate.seconds, k.highest) << what;
    }
}

TEST_F(ScriptCheck, EstimateGivesUpOnAWaitThatNeverEnds)
{
    CheckClock::Limits limits;
    limits.lineSeconds = 3600;
    const RunEstimate estimate =
        RunEstimate::ofScript({"ConnectLMN", "Beep", "WaitInput 1,1"}, m_places, {}, limits);
    EXPECT_FALSE(estimate.complete);
    EXPECT_EQ(estimate.stoppedAtLine, 3);
    EXPECT_EQ(clockText(estimate.seconds), QStringLiteral("1:00:00"));
}

// ---- the command-line mode -------------------------------------------------------

TEST_F(ScriptCheck, ModeWritesNothingStartsNothingAndTellsTheStatus)
{
    QTemporaryDir lab;
    const QString marker = lab.filePath(QStringLiteral("started"));
    const QString program = lab.filePath(QStringLiteral("touchit"));
    test::writeBytes(program, "#!/bin/sh\ntouch " + QFile::encodeName(marker) + "\n");
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QDir(lab.path()).mkpath(QStringLiteral("program"));
    QDir(lab.path()).mkpath(QStringLiteral("root"));
    qputenv("LUMEN_PROGRAM_DIR", QFile::encodeName(lab.filePath(QStringLiteral("program"))));
    qputenv("LUMEN_ROOT", QFile::encodeName(lab.filePath(QStringLiteral("root"))));

    const QString good = lab.filePath(QStringLiteral("good.lsf"));
    test::writeBytes(
        good, scriptBytes({"ConnectLMN", "AskID", "SaveSpectrum " + lab.filePath("S1"), "LOGROIS 2",
                           "AskName", "GetNumberChannels", "SaveDT " + lab.filePath("DT.txt"),
                           "KillFile " + program, "WaitExtProg " + program, "GetID Id.txt"}));
    const QString bad = lab.filePath(QStringLiteral("bad.lsf"));
    test::writeBytes(bad, scriptBytes({"ConnectLMN", "WaitSecs 5"}));

    struct Case
    {
        QStringList args;
        int status;
        const char *out;
    };
    const QList<Case> cases = {
        {{"--check", good}, 0, "estimated run time 0:00:05 (1 external program start counted"},
        {{"--check", bad}, 1, "bad.lsf:2: error: unknown command \"WaitSecs 5\""},
        {{"--check", lab.filePath("none.lsf")}, 1, ""},
        {{"--check"}, 2, ""},
    };
    for (const Case &k : cases) {
        QString outText, errText;
        QTextStream out(&outText), err(&errText);
        EXPECT_EQ(ScriptCheckMode::run(k.args, out, err), k.status) << k.out;
        out.flush();
        EXPECT_TRUE(outText.contains(QLatin1String(k.out))) << outText.toStdString();
        EXPECT_EQ(errText.isEmpty(), *k.out != 0) << errText.toStdString();
    }
    qunsetenv("LUMEN_PROGRAM_DIR");
    qunsetenv("LUMEN_ROOT");

    EXPECT_FALSE(QFile::exists(marker));
    EXPECT_TRUE(QFile::exists(program)); // KillFile deleted nothing
    EXPECT_TRUE(QDir(lab.filePath("program")).isEmpty());
    EXPECT_TRUE(QDir(lab.filePath("root")).isEmpty());
    EXPECT_EQ(QDir(lab.path()).entryList(QDir::Files).size(), 3); // the two scripts and touchit
}

} // namespace
