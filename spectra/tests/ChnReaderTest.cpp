#include "spectra/ChnReader.h"
#include "common/core/DateText.h"
#include "common/testsupport/TestSupport.h"
#include "spectra/SpcReader.h"
#include "spectra/testsupport/SpectrumBuilders.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace lumen;
using lumen::test::ChnImage;

namespace {
const QString kPath = QStringLiteral("/data/s.chn");

IncomingSpectrum readImage(const QByteArray &bytes)
{
    return ChnReader::read(bytes, kPath);
}

QString startOf(const Spectrum &s)
{
    return s.start ? lumen::formatDateTime(*s.start, u"YYYY-MM-DD HH:MM:SS") : QString();
}
} // namespace

TEST(ChnReader, FillsTheSpectrumFromHeaderAndTrailer)
{
    ChnImage image;
    image.counts = test::rampCounts(1024);
    image.liveTicks = 15000;
    image.realTicks = 15525;
    const IncomingSpectrum r = readImage(image.bytes());

    ASSERT_TRUE(r.loaded);
    EXPECT_TRUE(r.messages.isEmpty());
    const Spectrum &s = r.spectrum;
    EXPECT_EQ(s.counts, image.counts);
    EXPECT_EQ(s.liveSeconds, 300.0);
    EXPECT_EQ(s.realSeconds, 310.5);
    EXPECT_EQ(startOf(s), "2001-06-22 13:05:00");
    EXPECT_EQ(s.countKind, "Integer");
    EXPECT_TRUE(s.countKindKnown);
    EXPECT_EQ(s.descriptions, QStringList({"Soil sample 7", "Field B"}));
    EXPECT_EQ(s.coefficients, (std::vector<double>{0.5, 0.25, 1e-6}));
}

TEST(ChnReader, CalibrationComesOnlyFromCalibratedTrailers)
{
    ChnImage image;
    image.counts.assign(300, 1);
    image.trailerType = -101;
    IncomingSpectrum r = readImage(image.bytes());
    EXPECT_EQ(r.spectrum.coefficients, (std::vector<double>{0.5, 0.25}))
        << "a linear calibration has no quadratic term";

    image.trailerType = -1;
    r = readImage(image.bytes());
    EXPECT_TRUE(r.spectrum.coefficients.empty());
}

TEST(ChnReader, ShortFilesGiveTheirMessagesAndLoadNothing)
{
    IncomingSpectrum r = readImage(QByteArray());
    EXPECT_FALSE(r.loaded);
    EXPECT_EQ(r.messages, QStringList{"Could not find file: " + kPath});

    r = readImage(QByteArray(32, '\x01'));
    EXPECT_FALSE(r.loaded);
    EXPECT_EQ(r.messages, QStringList{"File size not large enough: " + kPath});
    EXPECT_TRUE(r.spectrum.counts.empty());
}

TEST(ChnReader, FewChannelsInformButStillLoad)
{
    ChnImage image;
    image.trailer = false;
    image.counts.clear();
    QByteArray bytes = image.bytes() + QByteArray(1, '\0'); // 33 bytes, 0 channels
    IncomingSpectrum r = readImage(bytes);
    EXPECT_TRUE(r.loaded);
    EXPECT_EQ(r.messages,
              QStringList{"<SpcRec1.NumChan> Less than 256 channels reported : " + kPath});
    EXPECT_TRUE(r.spectrum.counts.empty());

    image.counts.assign(100, 4);
    r = readImage(image.bytes());
    EXPECT_TRUE(r.loaded);
    EXPECT_EQ(r.messages.size(), 1);
    EXPECT_EQ(r.spectrum.counts, image.counts);
}

TEST(ChnReader, AChannelCountOutsideTheStoreIsRefusedByName)
{
    struct Case
    {
        std::int16_t declared;
        QStringList messages;
    } cases[] = {
        {20000,
         {"<SpcRec1.NumChan> Spectra size greater than 16384...",
          "Error reading " + kPath + ": the header declares 20000 channels, more than 16384"}},
        {-5, {"Error reading " + kPath + ": the header declares -5 channels"}},
    };
    for (const Case &c : cases) {
        ChnImage image;
        image.counts.assign(16384, 3);
        image.declaredChannels = c.declared;
        const IncomingSpectrum r = readImage(image.bytes());
        EXPECT_FALSE(r.loaded) << c.declared;
        EXPECT_EQ(r.messages, c.messages) << c.declared;
    }
}

TEST(ChnReader, DataEndingEarlyGivesZerosAndNoDescriptions)
{
    ChnImage image;
    image.counts.assign(10, 8);
    image.declaredChannels = 1024;
    image.trailer = false;
    QByteArray bytes = image.bytes();
    bytes.append("\x05\x00", 2); // half a value: counts as missing
    const IncomingSpectrum r = readImage(bytes);
    EXPECT_TRUE(r.loaded);
    std::vector<std::int32_t> expected(1024, 0);
    std::fill_n(expected.begin(), 10, 8);
    EXPECT_EQ(r.spectrum.counts, expected);
    EXPECT_TRUE(r.spectrum.descriptions.isEmpty());
    EXPECT_EQ(r.warnings, QStringList{"the data holds 10 of the 1024 channels declared"});
}

TEST(ChnReader, UnknownFileTypeIsMarkedAndStillLoads)
{
    ChnImage image;
    image.fileType = 5;
    image.counts.assign(256, 1);
    const IncomingSpectrum r = readImage(image.bytes());
    EXPECT_TRUE(r.loaded);
    EXPECT_EQ(r.spectrum.countKind, "Unknown [Type=5]");
    EXPECT_FALSE(r.spectrum.countKindKnown);
}

TEST(ChnReader, DescriptionsFromRealInstrumentsAreTakenInStride)
{
    ChnImage image;
    image.counts.assign(256, 1);
    image.desc1 = QByteArray("  Caf\xe9 sample\r\n", 16);
    image.desc2 = QByteArray(63, 'y');
    image.len2 = 200; // longer than the field: the whole 63 characters
    IncomingSpectrum r = readImage(image.bytes());
    EXPECT_EQ(r.spectrum.descriptions,
              QStringList({QString::fromUtf8("Caf\u00e9 sample"), QString(63, u'y')}));

    image.len1 = 0;
    r = readImage(image.bytes());
    EXPECT_EQ(r.spectrum.descriptions.value(0), "");

    // A trailer cut short: what is there is read, lengths checked against it.
    image.len1 = 60;
    image.trailerBytes = 263;
    r = readImage(image.bytes());
    EXPECT_TRUE(r.loaded);
    EXPECT_EQ(r.spectrum.descriptions, QStringList({"Caf\u00e9", ""}));
    image.trailerBytes = 3;
    r = readImage(image.bytes());
    EXPECT_TRUE(r.loaded);
    EXPECT_TRUE(r.spectrum.coefficients.empty());
}

TEST(ChnReader, FilesOnDisk)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("none.chn"));
    IncomingSpectrum r = ChnReader::readFile(missing);
    EXPECT_EQ(r.messages, QStringList{"Could not find file: " + missing});
    EXPECT_FALSE(QFileInfo::exists(missing)) << "looking must not create the file";

    r = ChnReader::readFile(dir.path());
    EXPECT_EQ(r.messages, QStringList{"Not a regular file: " + dir.path()});

    const QString empty = dir.filePath(QStringLiteral("empty.chn"));
    ASSERT_TRUE(lumen::test::writeBytes(empty, QByteArray()));
    r = ChnReader::readFile(empty);
    EXPECT_FALSE(r.loaded);
    EXPECT_TRUE(QFileInfo::exists(empty)) << "an empty file of the operator's is left alone";

    ChnImage image;
    image.counts.assign(512, 6);
    const QString good = dir.filePath(QStringLiteral("good.chn"));
    ASSERT_TRUE(lumen::test::writeBytes(good, image.bytes()));
    int pumps = 0;
    r = ChnReader::readFile(good, [&pumps] { ++pumps; });
    EXPECT_TRUE(r.loaded);
    EXPECT_GT(pumps, 0);
}

TEST(ChnReader, StartKeepsItsSecondsAndCentury)
{
    struct Case
    {
        QByteArray date, seconds;
        QString start;
    } cases[] = {
        {"22JUN011", "42", "2001-06-22 13:05:42"},
        {"22JUN990", "07", "1999-06-22 13:05:07"},
        {"22JUN99 ", "", "1999-06-22 13:05:00"},   // no century, no seconds
        {"22JUN017", "4x", "2001-06-22 13:05:00"}, // neither is a digit
    };
    for (const Case &c : cases) {
        ChnImage image;
        image.counts.assign(256, 1);
        image.date = c.date;
        image.seconds = c.seconds;
        const IncomingSpectrum r = readImage(image.bytes());
        EXPECT_EQ(startOf(r.spectrum), c.start) << c.date.constData();
    }
}

TEST(SpectrumReaders, RefuseWhatIsNoRegularFileWithoutBlocking)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe.chn"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString &path : {QStringLiteral("/dev/zero"), fifo, dir.path()}) {
        const IncomingSpectrum chn = ChnReader::readFile(path);
        const IncomingSpectrum spc = SpcReader::readFile(path);
        EXPECT_FALSE(chn.loaded || spc.loaded) << path.toStdString();
        EXPECT_EQ(chn.messages, QStringList{"Not a regular file: " + path});
        EXPECT_EQ(spc.messages, QStringList{"Not a regular file: " + path});
    }
}
