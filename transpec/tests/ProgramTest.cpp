// The built program, copied into a folder of its own, in its unattended modes.
#include "common/testsupport/ProgramFolder.h"
#include "common/testsupport/TestSupport.h"
#include "spectra/AnsReader.h"
#include "spectra/testsupport/SpectrumBuilders.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QThread>
#include <gtest/gtest.h>

namespace {

class ProgramTest : public ::testing::Test
{
protected:
    int run(const QStringList &args, QByteArray *out = nullptr)
    {
        const lumen::test::ProgramRun ran = m_dir.run(args);
        if (out)
            *out = ran.out.toLocal8Bit();
        return ran.status;
    }

    QStringList entries() const
    {
        return QDir(m_dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    }

    lumen::test::ProgramFolder m_dir{{QStringLiteral(TRANSPEC_EXE)}};
};

} // namespace

TEST_F(ProgramTest, HelpAndVersionTouchNoFile)
{
    QByteArray out;
    EXPECT_EQ(run({"--help"}, &out), 0);
    EXPECT_TRUE(out.contains("--convert"));
    EXPECT_EQ(run({"--version"}), 0);
    EXPECT_EQ(entries(), QStringList{"Transpec"});
}

TEST_F(ProgramTest, ConvertWritesBesideTheInputAndNoSettings)
{
    lumen::test::SpcImage spc;
    spc.counts = lumen::test::rampCounts(4096);
    ASSERT_TRUE(lumen::test::writeBytes(m_dir.filePath("S.SPC"), spc.bytes()));
    ASSERT_TRUE(lumen::test::writeBytes(m_dir.filePath("T.spc"),
                                        "just text, not a spectrum at all"
                                        " but long enough to be read......"
                                        "................................."
                                        "................................."));
    QByteArray out;
    EXPECT_EQ(run({"--convert", m_dir.filePath("S.SPC"), m_dir.filePath("T.spc")}, &out), 1);
    const QList<QByteArray> lines = out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2) << out.constData();
    EXPECT_EQ(lines[0], m_dir.filePath("S.Ans").toLocal8Bit());
    EXPECT_EQ(
        lines[1],
        (m_dir.filePath("T.spc") + " is a text file, not a binary SPC spectrum").toLocal8Bit());
    const auto s = lumen::AnsReader::read(lumen::test::fileBytes(m_dir.filePath("S.Ans")));
    EXPECT_EQ(s.channels, spc.counts);
    EXPECT_FALSE(QFileInfo::exists(m_dir.filePath("Transpec&FILE.DAT")));
    EXPECT_FALSE(QFileInfo::exists(m_dir.filePath("T.Ans")));
}

TEST_F(ProgramTest, CommandLineModeWithoutADisplayEndsAndSavesSettings)
{
    EXPECT_EQ(run({m_dir.filePath("Out.ans")}), 1) << "no spectrum could be chosen";
    EXPECT_FALSE(QFileInfo::exists(m_dir.filePath("Out.ans")));
    EXPECT_EQ(lumen::test::fileBytes(m_dir.filePath("Transpec&FILE.DAT")).size(), 290);
}

TEST_F(ProgramTest, AConversionKilledMidBatchLeavesNoFileCutShort)
{
    lumen::test::ChnImage chn;
    chn.counts = lumen::test::rampCounts(16384);
    const QByteArray bytes = chn.bytes();
    ASSERT_TRUE(QDir(m_dir.path()).mkpath("in") && QDir(m_dir.path()).mkpath("out"));
    QStringList args{"--convert"};
    for (int i = 0; i < 60; ++i) {
        args << m_dir.filePath(QStringLiteral("in/S%1.CHN").arg(i));
        ASSERT_TRUE(lumen::test::writeBytes(args.last(), bytes));
    }
    args << "--out-dir" << m_dir.filePath("out");
    const QDir out(m_dir.filePath("out"));
    for (int round = 0; round < 30; ++round) {
        const auto p = m_dir.start(QString(), args);
        ASSERT_TRUE(p->waitForStarted());
        QThread::msleep(5 + 3 * round);
        p->kill();
        p->waitForFinished();
        for (const QString &name : out.entryList(QDir::Files))
            ASSERT_EQ(QFileInfo(out.filePath(name)).size(), 1536 + 4 * 16384)
                << name.toStdString() << " after a kill at " << 5 + 3 * round << " ms";
    }
}

TEST_F(ProgramTest, GraphIsDrawnWithoutADisplay)
{
    lumen::test::ChnImage chn;
    chn.counts = lumen::test::rampCounts(1024);
    ASSERT_TRUE(lumen::test::writeBytes(m_dir.filePath("S.CHN"), chn.bytes()));
    EXPECT_EQ(run({"--graph", m_dir.filePath("S.CHN"), m_dir.filePath("S.png"), "--log"}), 0);
    EXPECT_EQ(QImage(m_dir.filePath("S.png")).width(), 1200);
    EXPECT_EQ(run({"--graph", m_dir.filePath("S.CHN")}), 2);
}
