#include "spectra/SpcReader.h"
#include "common/core/DateText.h"
#include "spectra/testsupport/SpectrumBuilders.h"

#include <gtest/gtest.h>
#include <limits>

using namespace lumen;
using lumen::test::SpcImage;

namespace {
const QString kPath = QStringLiteral("/data/s.spc");

IncomingSpectrum readImage(const QByteArray &bytes)
{
    return SpcReader::read(bytes, kPath);
}

QString shown(const std::optional<QDateTime> &moment)
{
    return moment ? lumen::formatDateTime(*moment, u"YYYY-MM-DD HH:MM:SS") : QString();
}
} // namespace

TEST(SpcReader, FillsTheSpectrumFromItsRecords)
{
    SpcImage image;
    image.counts = test::rampCounts(2048);
    image.realTime = 0.1f; // taken as the decimal it shows, not 0.100000001490116
    const IncomingSpectrum r = readImage(image.bytes());

    ASSERT_TRUE(r.loaded);
    EXPECT_TRUE(r.messages.isEmpty());
    const Spectrum &s = r.spectrum;
    EXPECT_EQ(s.counts, image.counts);
    EXPECT_EQ(s.liveSeconds, 300.0);
    EXPECT_EQ(s.realSeconds, 0.1);
    EXPECT_EQ(s.sampleSize, 1.5);
    EXPECT_EQ(s.sampleUnit, "kg");
    EXPECT_EQ(s.coefficients, (std::vector<double>{0.5, 0.25, 1e-6}));
    EXPECT_EQ(s.descriptions, QStringList({"Water sample", "Tank 3"}));
    EXPECT_EQ(shown(s.start), "2012-09-17 13:05:00");
    EXPECT_EQ(shown(s.sampleTaken), "2012-09-01 08:30:00");
    EXPECT_EQ(s.countKind, "Integer");
    EXPECT_TRUE(s.countKindKnown);
}

TEST(SpcReader, RealDataIsFlooredTowardsMinusInfinity)
{
    SpcImage image;
    image.dataType = 5;
    image.reals = {10.9f, 0.4f, 2.7f, -2.5f, -0.1f};
    image.reals.resize(256, 1.0f);
    const IncomingSpectrum r = readImage(image.bytes());
    ASSERT_TRUE(r.loaded);
    const std::vector<std::int32_t> first(r.spectrum.counts.begin(), r.spectrum.counts.begin() + 5);
    EXPECT_EQ(first, (std::vector<std::int32_t>{10, 0, 2, -3, -1}));
    EXPECT_EQ(r.spectrum.countKind, "Real");
    EXPECT_FALSE(r.spectrum.countKindKnown);

    for (float bad : {3e9f, -3e9f, std::numeric_limits<float>::quiet_NaN(),
                      std::numeric_limits<float>::infinity()}) {
        image.reals[7] = bad;
        const IncomingSpectrum failed = readImage(image.bytes());
        EXPECT_FALSE(failed.loaded) << bad;
        ASSERT_EQ(failed.messages.size(), 1);
        EXPECT_TRUE(failed.messages[0].startsWith("Error reading " + kPath + ": the real count "))
            << failed.messages[0].toStdString();
        EXPECT_TRUE(failed.messages[0].endsWith(" at channel 7 is beyond 32 bits"));
    }
}

TEST(SpcReader, UnknownDataTypeLoadsZeros)
{
    SpcImage image;
    image.dataType = 3;
    image.counts.assign(300, 9);
    const IncomingSpectrum r = readImage(image.bytes());
    EXPECT_TRUE(r.loaded);
    EXPECT_EQ(r.spectrum.counts, std::vector<std::int32_t>(300, 0));
    EXPECT_EQ(r.spectrum.countKind, "Unknown 3");
    EXPECT_FALSE(r.spectrum.countKindKnown);
}

TEST(SpcReader, InformationalMessagesComeAfterLoading)
{
    SpcImage image;
    image.inftyp = 2;
    image.counts.assign(100, 9);
    const IncomingSpectrum r = readImage(image.bytes());
    EXPECT_TRUE(r.loaded);
    EXPECT_EQ(r.messages,
              (QStringList{"<SpcRec1.inftyp=2 > not = 1 : " + kPath,
                           "<SpcRec1.spcchn> Less than 256 channes reported : " + kPath}));
    EXPECT_EQ(r.spectrum.counts, image.counts);
}

TEST(SpcReader, RecordsNotNamedLeaveTheirFieldsEmpty)
{
    SpcImage image;
    image.descriptionRecord = 0;
    image.sampleRecord = 0;
    image.calibrationRecord = 0;
    image.counts.assign(256, 1);
    const IncomingSpectrum r = readImage(image.bytes());
    EXPECT_TRUE(r.loaded);
    EXPECT_TRUE(r.spectrum.descriptions.isEmpty());
    EXPECT_FALSE(r.spectrum.sampleTaken);
    EXPECT_FALSE(r.spectrum.sampleSize);
    EXPECT_TRUE(r.spectrum.coefficients.empty());
}

TEST(SpcReader, ShortFilesSayWhy)
{
    IncomingSpectrum r = readImage(QByteArray(128, '\x01'));
    EXPECT_EQ(r.messages, QStringList{"File size not large enough: " + kPath});
    r = readImage(QByteArray());
    EXPECT_EQ(r.messages, QStringList{"Could not find file: " + kPath});
    EXPECT_FALSE(r.loaded);
}

TEST(SpcReader, DataEndingEarlyGivesZeros)
{
    SpcImage image;
    image.counts.assign(1024, 4);
    QByteArray bytes = image.bytes();
    bytes.chop(4 * 1000 + 2);
    const IncomingSpectrum r = readImage(bytes);
    EXPECT_TRUE(r.loaded);
    std::vector<std::int32_t> expected(1024, 0);
    std::fill_n(expected.begin(), 23, 4); // a value cut in half counts as missing
    EXPECT_EQ(r.spectrum.counts, expected);
    EXPECT_EQ(r.warnings, QStringList{"the data holds 23 of the 1024 channels declared"});
}

TEST(SpcReader, FirstDataRecordMustLieWithinRecord256)
{
    SpcImage image;
    image.counts.assign(256, 5);
    image.dataRecord = 256;
    IncomingSpectrum r = readImage(image.bytes());
    EXPECT_TRUE(r.loaded);
    EXPECT_EQ(r.spectrum.counts, image.counts);

    for (std::int16_t record : {std::int16_t(257), std::int16_t(0), std::int16_t(-3)}) {
        image.dataRecord = record;
        r = readImage(SpcImage(image).bytes());
        EXPECT_FALSE(r.loaded) << record;
        EXPECT_EQ(r.messages, QStringList{"Error reading " + kPath +
                                          QStringLiteral(": the data record %1 is outside "
                                                         "records 1 to 256")
                                              .arg(record)})
            << record;
    }
}

TEST(SpcReader, HeadersThatLieAreRefusedByName)
{
    SpcImage image;
    image.counts.assign(256, 5);
    image.calibrationRecord = 400; // beyond the end of the file
    IncomingSpectrum r = readImage(image.bytes());
    EXPECT_FALSE(r.loaded);
    EXPECT_EQ(r.messages, QStringList{"Error reading " + kPath +
                                      ": not an SPC spectrum of this kind (its first record "
                                      "names a calibration record 400, beyond the end of the "
                                      "file)"});

    SpcImage big;
    big.counts.assign(16384, 2);
    big.declaredChannels = 30000;
    r = readImage(big.bytes());
    EXPECT_FALSE(r.loaded);
    EXPECT_EQ(r.messages, (QStringList{"<SpcRec1.spcchn> Spectra size greater than 16384...",
                                       "Error reading " + kPath +
                                           ": record 1 declares 30000 channels, more than 16384"}));

    big.declaredChannels = -2;
    r = readImage(big.bytes());
    EXPECT_FALSE(r.loaded);
    EXPECT_EQ(r.messages,
              QStringList{"Error reading " + kPath + ": record 1 declares -2 channels"});
}

TEST(SpcReader, ATextFileNamedSpcIsRejected)
{
    QByteArray text;
    for (int i = 0; i < 40; ++i)
        text += "Energy calibration, channel " + QByteArray::number(i) + " = 12.5 keV\r\n";
    const IncomingSpectrum r = readImage(text);
    EXPECT_FALSE(r.loaded);
    EXPECT_EQ(r.messages, QStringList{kPath + " is a text file, not a binary SPC spectrum"});
}
