#include "transpec/core/ConvertCommand.h"
#include "common/testsupport/TestSupport.h"
#include "spectra/AnsReader.h"
#include "spectra/N42Reader.h"
#include "spectra/testsupport/SpectrumBuilders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

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
    spc.counts.assign(100, 4); // converts; its few channels are no doubt
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
    EXPECT_EQ(r.out[5], "Could not find file: " + dir.path() + "/d.txt");
    EXPECT_FALSE(r.err.contains("<SpcRec1")) << "the window's own words stay in the window";
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

TEST(ConvertCommand, DoubtfulInputsAreWrittenWithWarningsAndStatus3)
{
    struct Case
    {
        const char *what;
        std::function<void(test::ChnImage &)> spoil;
        const char *warning; // empty: none expected
        int status;
    } cases[] = {
        {"sound", [](test::ChnImage &) {}, "", 0},
        {"short data", [](test::ChnImage &c) { c.declaredChannels = 2048, c.trailer = false; },
         "the data holds 1024 of the 2048 channels declared", 3},
        {"unknown type", [](test::ChnImage &c) { c.fileType = 5; }, "unknown file type 5", 3},
        {"real below live", [](test::ChnImage &c) { c.realTicks = 100; },
         "the real time (2 s) is below the live time (300 s)", 3},
        {"bad date", [](test::ChnImage &c) { c.date = "31FEB011"; },
         "the acquisition start \"31-FEB-2001 13:05\" cannot be read", 3},
        {"negative count", [](test::ChnImage &c) { c.counts[7] = -2; },
         "a negative count in channel 7", 3},
        {"cut description", [](test::ChnImage &c) { c.desc1 = c.desc2 = QByteArray(40, 'd'); },
         "the description is cut to the ANS file's 72 characters", 3},
    };
    for (const Case &c : cases) {
        QTemporaryDir dir;
        test::ChnImage chn;
        chn.counts.assign(1024, 3);
        chn.liveTicks = 15000;
        chn.realTicks = 15500;
        c.spoil(chn);
        const QString in = dir.filePath(QStringLiteral("S.CHN"));
        ASSERT_TRUE(lumen::test::writeBytes(in, chn.bytes()));
        const CommandRun r = convert({"--convert", in});
        EXPECT_EQ(r.status, c.status) << c.what;
        EXPECT_TRUE(QFileInfo::exists(dir.filePath("S.Ans"))) << c.what;
        if (*c.warning)
            EXPECT_TRUE(r.err.startsWith(in + ": warning: " + c.warning + "\n"))
                << c.what << ": " << r.err.toStdString();
        else
            EXPECT_EQ(r.err, "") << c.what;
    }
}

TEST(ConvertCommand, RefusesWhatWouldOverwriteAnInputOrAnEarlierOutput)
{
    QTemporaryDir dir;
    test::ChnImage chn;
    chn.counts = test::rampCounts(512);
    test::SpcImage spc;
    spc.counts.assign(512, 9);
    const QString chnPath = dir.filePath(QStringLiteral("S.chn"));
    const QString spcPath = dir.filePath(QStringLiteral("S.spc"));
    ASSERT_TRUE(lumen::test::writeBytes(chnPath, chn.bytes()));
    ASSERT_TRUE(lumen::test::writeBytes(spcPath, spc.bytes()));
    ASSERT_TRUE(QFile::link(chnPath, dir.filePath("link.chn")));
    ASSERT_EQ(::link(QFile::encodeName(chnPath).constData(),
                     QFile::encodeName(dir.filePath("hard.ans")).constData()),
              0);

    CommandRun r = convert({"--convert", chnPath, spcPath});
    EXPECT_EQ(r.status, 1);
    ASSERT_EQ(r.out.size(), 2);
    EXPECT_EQ(r.out[1], spcPath + ": the output " + dir.filePath("S.Ans") + " is already that of " +
                            chnPath + ", nothing written");
    EXPECT_EQ(AnsReader::read(lumen::test::fileBytes(dir.filePath("S.Ans"))).channels, chn.counts);

    const QByteArray source = lumen::test::fileBytes(chnPath);
    for (const QString &target : {chnPath, dir.filePath("link.chn"), dir.filePath("hard.ans"),
                                  dir.path() + "/../" + QDir(dir.path()).dirName() + "/S.chn"}) {
        r = convert({"--convert", chnPath, "--output", target});
        EXPECT_EQ(r.status, 1) << target.toStdString();
        EXPECT_TRUE(r.out.value(0).contains(" is the input ")) << r.out.join(u'|').toStdString();
    }
    EXPECT_EQ(lumen::test::fileBytes(chnPath), source);
}

TEST(ConvertCommand, OutputsThatAreHardLinksOfEachOtherAreBothWritten)
{
    QTemporaryDir dir;
    test::ChnImage a, b;
    a.counts.assign(64, 3);
    b.counts.assign(64, 4);
    ASSERT_TRUE(lumen::test::writeBytes(dir.filePath("A.chn"), a.bytes()));
    ASSERT_TRUE(lumen::test::writeBytes(dir.filePath("B.chn"), b.bytes()));
    ASSERT_TRUE(lumen::test::writeBytes(dir.filePath("A.Ans"), "old"));
    ASSERT_EQ(::link(QFile::encodeName(dir.filePath("A.Ans")).constData(),
                     QFile::encodeName(dir.filePath("B.Ans")).constData()),
              0);

    const CommandRun r = convert({"--convert", dir.filePath("A.chn"), dir.filePath("B.chn")});
    EXPECT_EQ(r.status, 0) << r.out.join(u'|').toStdString();
    EXPECT_EQ(AnsReader::read(lumen::test::fileBytes(dir.filePath("A.Ans"))).channels, a.counts);
    EXPECT_EQ(AnsReader::read(lumen::test::fileBytes(dir.filePath("B.Ans"))).channels, b.counts);
}

TEST(ConvertCommand, NoChannelsDeclaredWritesNothing)
{
    QTemporaryDir dir;
    test::ChnImage chn;
    chn.counts.assign(4, 1);
    chn.declaredChannels = -3;
    const QString in = dir.filePath(QStringLiteral("neg.chn"));
    ASSERT_TRUE(lumen::test::writeBytes(in, chn.bytes()));
    const CommandRun r = convert({"--convert", in});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, QStringList{"Error reading " + in + ": the header declares -3 channels"});
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("neg.Ans")));
}

TEST(ConvertCommand, SpeAndN42SpectraConvertToAns)
{
    const QByteArray spe = "$SPEC_ID:\nSoil 7\n$SPEC_REM:\nField B\n$DATE_MEA:\n"
                           "06/22/2001 13:05:42\n$MEAS_TIM:\n300 310.5\n$DATA:\n0 3\n4 5 6 7\n"
                           "$ENER_FIT:\n-0.5 0.5\n$END:\n";
    const QByteArray n42 = "<RadInstrumentData><Remark>Soil 7</Remark><Remark>Field B</Remark>"
                           "<EnergyCalibration><CoefficientValues>-0.5 0.5</CoefficientValues>"
                           "</EnergyCalibration><RadMeasurement>"
                           "<StartDateTime>2001-06-22T13:05:42</StartDateTime>"
                           "<RealTimeDuration>PT310.5S</RealTimeDuration><Spectrum>"
                           "<LiveTimeDuration>PT5M</LiveTimeDuration>"
                           "<ChannelData compressionCode=\"None\">4 5 6 7</ChannelData>"
                           "</Spectrum></RadMeasurement></RadInstrumentData>";
    for (const auto &[name, bytes] : {std::pair{"S.spe", spe}, std::pair{"S.n42", n42}}) {
        QTemporaryDir dir;
        const QString in = dir.filePath(QString::fromLatin1(name));
        ASSERT_TRUE(lumen::test::writeBytes(in, bytes));
        const CommandRun r = convert({"--convert", in});
        EXPECT_EQ(r.status, 0) << name << r.err.toStdString() << r.out.join(u'|').toStdString();
        const auto s = AnsReader::read(lumen::test::fileBytes(dir.filePath("S.Ans")));
        EXPECT_EQ(s.channels, (std::vector<std::int32_t>{4, 5, 6, 7})) << name;
        EXPECT_EQ(s.header.liveTime(), 300.0) << name;
        EXPECT_EQ(s.header.realTime(), 310.5) << name;
        EXPECT_NEAR(s.header.mcaStart(), 37064.5456250, 1e-6) << name;
        EXPECT_EQ(s.header.coefficient(0), -0.5f) << name;
        EXPECT_EQ(s.header.coefficient(1), 0.5f) << name;
        EXPECT_EQ(s.header.spectrumId().trimmed(), "Soil 7 Field B") << name;
    }
}

TEST(ConvertCommand, ToN42AndCsvWriteWhatTheirReadersReadBack)
{
    QTemporaryDir dir;
    test::ChnImage chn;
    for (int i = 0; i < 1024; ++i)
        chn.counts.push_back(i % 50);
    chn.liveTicks = 15000;
    chn.realTicks = 15500;
    const QString in = dir.filePath(QStringLiteral("S.CHN"));
    ASSERT_TRUE(lumen::test::writeBytes(in, chn.bytes()));

    CommandRun r = convert({"--convert", in, "--to", "n42"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringList{QDir::toNativeSeparators(dir.filePath("S.n42"))});
    const IncomingSpectrum n42 = N42Reader::readFile(dir.filePath("S.n42"));
    ASSERT_TRUE(n42.loaded);
    EXPECT_EQ(n42.spectrum.counts, chn.counts);
    EXPECT_EQ(n42.spectrum.liveSeconds, 300.0);

    r = convert({"--convert", in, "--to", "CSV", "--output", dir.filePath("t.csv")});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err, in + ": warning: a CSV file carries no live time, real time, start, "
                          "description\n");
    const QByteArray csv = lumen::test::fileBytes(dir.filePath("t.csv"));
    EXPECT_TRUE(csv.startsWith("channel,energy (keV),counts\r\n0,")) << csv.left(80).constData();

    // A time the source lacks is left out of the N42 file, and said so.
    const QString noTimes = dir.filePath(QStringLiteral("none.spe"));
    ASSERT_TRUE(lumen::test::writeBytes(noTimes, "$DATA:\n0 1\n4 5\n$END:\n"));
    r = convert({"--convert", noTimes, "--to", "n42"});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err, noTimes + ": warning: no live time in the file\n" + noTimes +
                         ": warning: no real time in the file\n" + noTimes +
                         ": warning: no acquisition start in the file, the N42 file has none\n");

    r = convert({"--convert", in, "--to", "spe"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains("--to names ans, n42 or csv, not spe"));
}

TEST(ConvertCommand, TextSpectraWarnOfWhatChangesAndNotOfRoutineSections)
{
    const QByteArray spe = "$SPEC_ID:\nSoil 7\n$DATE_MEA:\n06/22/2001 13:05:42\n"
                           "$MEAS_TIM:\n300 310.5\n$DATA:\n0 3\n4 5 6 7\n$ROI:\n1\n0 3\n"
                           "$PRESETS:\nNone\n$MCA_CAL:\n5\n-0.5 0.5 0 0 0 keV\n$END:\n";
    const QByteArray n42 = "<N42InstrumentData><Measurement><Spectrum><StartTime>"
                           "2001-06-22T13:05:42</StartTime><RealTime>PT310.5S</RealTime>"
                           "<ChannelData>4 5 6 7</ChannelData></Spectrum></Measurement>"
                           "</N42InstrumentData>";
    struct Case
    {
        const char *name;
        QByteArray bytes;
        QStringList warnings;
        int status;
    } cases[] = {
        {"S.spe", spe, {}, 0},
        {"S.spe",
         QByteArray(spe).replace("300 310.5", "-300 310.5"),
         {"the live time is negative (-300 s)"},
         3},
        {"S.spe",
         QByteArray(spe).replace("$MEAS_TIM:\n300 310.5\n", ""),
         {"no live time in the file, written as 0", "no real time in the file, written as 0"},
         3},
        {"S.n42", n42, {"no live time in the file, written as 0"}, 3},
    };
    for (const Case &c : cases) {
        QTemporaryDir dir;
        const QString in = dir.filePath(QString::fromLatin1(c.name));
        ASSERT_TRUE(lumen::test::writeBytes(in, c.bytes));
        const CommandRun r = convert({"--convert", in});
        EXPECT_EQ(r.status, c.status) << c.name << r.err.toStdString();
        QString expected;
        for (const QString &w : c.warnings)
            expected += in + ": warning: " + w + "\n";
        EXPECT_EQ(r.err, expected) << c.name;
        const auto s = AnsReader::read(lumen::test::fileBytes(dir.filePath("S.Ans")));
        EXPECT_EQ(s.channels, (std::vector<std::int32_t>{4, 5, 6, 7})) << c.name;
        EXPECT_EQ(s.header.realTime(), c.warnings.size() == 2 ? 0.0 : 310.5) << c.name;
    }
}

// Inputs that are damaged, misnamed or bend the rules: each is written with a
// warning (status 3) or refused naming the real reason (status 1), and a
// sound one says nothing.
TEST(ConvertCommand, EachInputSaysWhatBecameOfIt)
{
    test::ChnImage few;
    few.counts.assign(128, 2);
    few.liveTicks = few.realTicks = 50;
    const QByteArray n42 = "<?xml version=\"1.0\"?>\n"
                           "<RadInstrumentData xmlns=\"http://physics.nist.gov/N42/2011/N42\">"
                           "<EnergyCalibration id=\"e\"><CoefficientValues>0 3</CoefficientValues>"
                           "<EnergyValues>0 662</EnergyValues>"
                           "<EnergyDeviationValues>0 -0.75</EnergyDeviationValues>"
                           "</EnergyCalibration><RadMeasurement>"
                           "<StartDateTime>2001-06-22T13:05:42Z</StartDateTime>"
                           "<RealTimeDuration>PT2S</RealTimeDuration><Spectrum>"
                           "<LiveTimeDuration>PT1S</LiveTimeDuration>"
                           "<ChannelData>1 2 3</ChannelData></Spectrum><Site:Note/>"
                           "</RadMeasurement></RadInstrumentData>\n";
    const QByteArray speShort = "$DATE_MEA:\n06/22/2001 13:05:42\n$MEAS_TIM:\n1 1\n"
                                "$DATA:\n0 3\n1 2\n";
    const QString pairsLost = "warning: 2 energy deviation pairs (up to 0.75 keV) are not "
                              "applied: the %1 file keeps the polynomial alone";
    const QString prefix = "warning: the namespace prefix \"Site\" is used but never declared";
    struct Case
    {
        const char *name;
        QByteArray bytes;
        QString to;
        int status;
        QString said; // in the refusal on stdout, or each of the warnings on stderr
    } cases[] = {
        {"few.chn", few.bytes(), "ans", 0, ""},
        {"few.Spe", few.bytes(), "ans", 1,
         "a binary file, not SPE text; it looks like a CHN spectrum (named .chn, it is read)"},
        {"notes.txt", "Shift notes: detector 2 cooled.\n", "ans", 1,
         "notes.txt: no spectrum; a .txt file is not read, and this one holds no CHN, SPC, SPE "
         "or N42 spectrum"},
        {"spe.txt", speShort, "ans", 1,
         "spe.txt: a .txt file is not read; it looks like an SPE spectrum (named .spe, it is "
         "read)"},
        {"short.spe", speShort, "ans", 3, "warning: the data holds 2 of the 4 channels declared"},
        {"pairs.xml", n42, "n42", 3, prefix},
        {"pairs.xml", n42, "ans", 3, pairsLost.arg("ANS")},
        {"pairs.xml", n42, "csv", 3, pairsLost.arg("CSV")},
    };
    for (const Case &c : cases) {
        QTemporaryDir dir;
        const QString in = dir.filePath(QString::fromLatin1(c.name));
        ASSERT_TRUE(lumen::test::writeBytes(in, c.bytes));
        const CommandRun r = convert({"--convert", in, "--to", c.to});
        const QString where = QStringLiteral("%1 to %2: ").arg(c.name, c.to);
        EXPECT_EQ(r.status, c.status) << where.toStdString() << r.err.toStdString();
        ASSERT_EQ(r.out.size(), 1) << where.toStdString();
        if (c.status == 1)
            EXPECT_TRUE(r.out[0].endsWith(c.said)) << where.toStdString() << r.out[0].toStdString();
        else if (c.said.isEmpty())
            EXPECT_EQ(r.err, "") << where.toStdString();
        else
            EXPECT_TRUE(r.err.contains(in + ": " + c.said))
                << where.toStdString() << r.err.toStdString();
    }
}
