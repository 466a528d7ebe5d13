#include "sequa/core/start/StartOptions.h"
#include "common/testsupport/ProgramFolder.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

using lumen::sequa::StartOptions;
using Mode = lumen::sequa::StartRequest::Mode;

TEST(StartOptions, EachCommandLineChoosesItsStart)
{
    const struct
    {
        QStringList words;
        Mode mode;
        QString commandLine;
    } cases[] = {
        {{}, Mode::Play, {}},
        {{QString()}, Mode::Play, {}},
        {{"my", "script.lsf"}, Mode::Play, "my script.lsf"},
        {{"./-odd.lsf"}, Mode::Play, "./-odd.lsf"},
        {{"--check", "a.lsf"}, Mode::CheckScript, {}},
        {{"--check", "--resume", "j.txt"}, Mode::CheckResume, {}},
        {{"--resume", "j.txt"}, Mode::Resume, "j.txt"},
        {{"--resume", "j.txt", "--redo-failed"}, Mode::Resume, "j.txt"},
        {{"--resume"}, Mode::Refused, {}},
        {{"--resume", ""}, Mode::Refused, {}},
        {{"--resume", "j.txt", "--other"}, Mode::Refused, {}},
        {{"--open"}, Mode::Open, {}},
        {{"--open", "a.lsf"}, Mode::Open, {}},
        {{"--bogus"}, Mode::Refused, {}},
    };
    for (const auto &c : cases) {
        const auto request = StartOptions::parse(c.words);
        const std::string said = c.words.join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(request.mode, c.mode) << said;
        EXPECT_EQ(request.commandLine, c.commandLine) << said;
        EXPECT_EQ(request.refusal.isEmpty(), c.mode != Mode::Refused) << said;
    }
    EXPECT_TRUE(StartOptions::parse({"--resume", "j", "--redo-failed"}).redoFailed);
    EXPECT_EQ(StartOptions::parse({"--open", "a.lsf"}).openWords, QStringList{"a.lsf"});
}

#ifdef SEQUA_EXE

TEST(StartOptions, AnUnknownOptionIsRefusedWithTheHelpHintAndNoJournal)
{
    for (const char *option : {"--bogus", "-x"}) {
        lumen::test::ProgramFolder folder({QStringLiteral(SEQUA_EXE)});
        const lumen::test::ProgramRun run = folder.run({QString::fromLatin1(option)});
        EXPECT_EQ(run.status, 2) << option;
        const QString &err = run.err;
        EXPECT_TRUE(err.contains(QStringLiteral("unknown option: ") + QLatin1String(option)) &&
                    err.contains(QStringLiteral("Sequa --help")))
            << err.toStdString();
        EXPECT_FALSE(QDir(folder.filePath(QStringLiteral("journal"))).exists()) << option;
    }
}

#endif

} // namespace
