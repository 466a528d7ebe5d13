#include "transpec/core/ConvertCommand.h"
#include "common/testsupport/TestSupport.h"
#include "spectra/AnsReader.h"
#include "spectra/tests/SpectrumBuilders.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lumen;
using namespace lumen::transpec;

namespace {

struct CommandRun
{
    int status;
    QStringList out;
    QString err;
};

CommandRun convert(const QStringList &args)
{
    QString out, err;
    QTextStream o(&out), e(&err);
    const int status = ConvertCommand::run(args, o, e);
    return {status, out.split(u'\n', Qt::SkipEmptyParts), err};
}

} // namespace

TEST(ConvertCommand, ConvertsEachFileAndReportsEachFailure)
{
    QTemporaryDir dir;
    test::ChnImage chn;
    chn.counts = test::rampCounts(1024);
    test::SpcImage spc;
    spc.counts.assign(100, 4); // converts, with a note about the few channels
    const QString a = dir.filePath(QStringLiteral("A.CHN"));
    const QString b = dir.filePath(QStringLiteral("b.spc"));
    const QString bad = dir.filePath(QStringLiteral("bad.spc"));
    const QString other = dir.filePath(QStringLiteral("c.dat"));
    ASSERT_TRUE(lumen::test::writeBytes(a, chn.bytes()));
    ASSERT_TRUE(lumen::test::writeBytes(b, spc.bytes()));
    ASSERT_TRUE(lumen::test::writeBytes(bad, QByteArray(100, 'x')));
    ASSERT_TRUE(lumen::test::writeBytes(other, QByteArray(100, 'x')));
    const QString missing = dir.filePath(QStringLiteral("none.chn"));

    const CommandRun r = convert({"--convert", a, b, bad, other, missing, dir.path() + "/d.txt"});
    EXPECT_EQ(r.status, 1);
    ASSERT_EQ(r.out.size(), 6) << r.out.join(u'|').toStdString();
    EXPECT_EQ(r.out[0], QDir::toNativeSeparators(dir.filePath("A.Ans")));
    EXPECT_EQ(r.out[1], QDir::toNativeSeparators(dir.filePath("b.Ans")));
    EXPECT_EQ(r.out[2], "File size not large enough: " + bad);
    EXPECT_EQ(r.out[3], "File type DAT is not supported");
    EXPECT_EQ(r.out[4], "Could not find file: " + missing);
    EXPECT_EQ(r.out[5], "Nothing read from " + dir.path() + "/d.txt");
    EXPECT_TRUE(r.err.contains("Less than 256 channes"));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("bad.Ans")));

    const auto s = AnsReader::read(lumen::test::fileBytes(dir.filePath("A.Ans")));
    EXPECT_EQ(s.channels, chn.counts);
}

TEST(ConvertCommand, OutputFolderAndSingleOutputPath)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("out"));
    test::ChnImage chn;
    chn.counts.assign(512, 1);
    const QString a = dir.filePath(QStringLiteral("x.y.chn"));
    ASSERT_TRUE(lumen::test::writeBytes(a, chn.bytes()));

    CommandRun r = convert({"--convert", a, "--out-dir", dir.filePath("out")});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("out/x.y.Ans"))) << r.out.join(u'|').toStdString();

    r = convert({"--convert", a, "--output", dir.filePath("named.ANS")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(lumen::test::fileBytes(dir.filePath("named.ANS")).size(), 1536 + 2048);

    r = convert({"--convert", a, "--output", dir.path()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, QStringList{"Could not write file: " + dir.path() + " (is a folder)"});
}

TEST(ConvertCommand, ArgumentsItCannotUse)
{
    EXPECT_EQ(convert({"--convert"}).status, 2);
    EXPECT_EQ(convert({"--convert", "a.chn", "b.chn", "--output", "x.ans"}).status, 2);
    EXPECT_EQ(convert({"--convert", "a.chn", "--out-dir"}).status, 2);
    EXPECT_EQ(convert({"--convert", "a.chn", "--bogus"}).status, 2);
    EXPECT_EQ(convert({"--convert", "a.chn", "--out-dir", "/no/such/folder"}).status, 2);
}
