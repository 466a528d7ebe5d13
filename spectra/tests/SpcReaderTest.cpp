#include "spectra/SpcReader.h"
#include "spectra/BoxNames.h"
#include "spectra/tests/SpectrumBuilders.h"

#include <gtest/gtest.h>
#include <limits>

using namespace lumen;
using lumen::test::SpcImage;

namespace {
const QString kPath = QStringLiteral("/data/s.spc");

IncomingSpectrum readImage(const QByteArray &bytes, ChannelStore &store, bool commandLine = false)
{
    return SpcReader::read(bytes, kPath, store, commandLine);
}
} // namespace

TEST(SpcReader, FillsTheIncomingAndCalibrationBoxes)
{
    SpcImage image;
    image.counts = test::rampCounts(2048);
    ChannelStore store;
    const IncomingSpectrum r = readImage(image.bytes(), store);

    ASSERT_TRUE(r.loaded);
    EXPECT_TRUE(r.messages.isEmpty());
    EXPECT_EQ(r.boxes[box::NumChan], "2048");
    EXPECT_EQ(r.boxes[box::LiveTime], "300");
    EXPECT_EQ(r.boxes[box::RealTime], "310.5");
    EXPECT_EQ(r.boxes[box::SizTxt], "1.5");
    EXPECT_EQ(r.boxes[box::C0], "0.5");
    EXPECT_EQ(r.boxes[box::C1], "0.25");
    EXPECT_EQ(r.boxes[box::C2], "1E-06");
    EXPECT_EQ(r.boxes[box::C3], "0");
    // Texts at full width, as stored.
    EXPECT_EQ(r.boxes[box::SpcID], QStringLiteral("Water sample").leftJustified(64));
    EXPECT_EQ(r.boxes[box::SpcID_line2], QStringLiteral("Tank 3").leftJustified(64));
    EXPECT_EQ(r.boxes[box::AcqDate], "17-SEP-121  ");
    EXPECT_EQ(r.boxes[box::AcqTime], "13:05:00  ");
    EXPECT_EQ(r.boxes[box::UnitsTxt], QStringLiteral("kg").leftJustified(14));
    EXPECT_EQ(r.boxes[box::SpcSamDate], "01-SEP-121");
    EXPECT_EQ(r.boxes[box::SpcSamTime], "08:30:00");
    EXPECT_EQ(r.boxes[box::fType], "Integer");
    EXPECT_FALSE(r.typeOnRed);
    for (int i = 0; i < 2048; ++i)
        ASSERT_EQ(store.at(i), image.counts[std::size_t(i)]) << i;
}

TEST(SpcReader, RealDataIsFlooredTowardsMinusInfinity)
{
    SpcImage image;
    image.dataType = 5;
    image.reals = {10.9f, 0.4f, 2.7f, -2.5f, -0.1f};
    image.reals.resize(256, 1.0f);
    ChannelStore store;
    const IncomingSpectrum r = readImage(image.bytes(), store);
    ASSERT_TRUE(r.loaded);
    EXPECT_EQ(store.at(0), 10);
    EXPECT_EQ(store.at(1), 0);
    EXPECT_EQ(store.at(2), 2);
    EXPECT_EQ(store.at(3), -3);
    EXPECT_EQ(store.at(4), -1);
    EXPECT_EQ(r.boxes[box::fType], "Real");
    EXPECT_TRUE(r.typeOnRed);

    for (float bad : {3e9f, -3e9f, std::numeric_limits<float>::quiet_NaN(),
                      std::numeric_limits<float>::infinity()}) {
        image.reals[7] = bad;
        const IncomingSpectrum failed = readImage(image.bytes(), store);
        EXPECT_FALSE(failed.loaded) << bad;
        EXPECT_EQ(failed.messages, QStringList{"Error reading " + kPath});
    }
}

TEST(SpcReader, UnknownDataTypeLoadsZeros)
{
    SpcImage image;
    image.dataType = 3;
    image.counts.assign(300, 9);
    ChannelStore store;
    store.set(5, 77);
    const IncomingSpectrum r = readImage(image.bytes(), store);
    EXPECT_TRUE(r.loaded);
    EXPECT_EQ(store.at(5), 0);
    EXPECT_EQ(r.boxes[box::fType], "Unknown 3");
    EXPECT_TRUE(r.typeOnRed);
}

TEST(SpcReader, InformationalMessagesComeAfterLoading)
{
    SpcImage image;
    image.inftyp = 2;
    image.counts.assign(100, 9);
    ChannelStore store;
    const IncomingSpectrum r = readImage(image.bytes(), store);
    EXPECT_TRUE(r.loaded);
    EXPECT_EQ(r.messages,
              (QStringList{"<SpcRec1.inftyp=2 > not = 1 : " + kPath,
                           "<SpcRec1.spcchn> Less than 256 channes reported : " + kPath}));
    EXPECT_EQ(store.at(99), 9);
}

TEST(SpcReader, RecordsNotNamedCountAsZero)
{
    SpcImage image;
    image.descriptionRecord = 0;
    image.sampleRecord = 0;
    image.calibrationRecord = 0;
    image.counts.assign(256, 1);
    ChannelStore store;
    const IncomingSpectrum r = readImage(image.bytes(), store);
    EXPECT_TRUE(r.loaded);
    EXPECT_EQ(r.boxes[box::SpcID], "");
    EXPECT_EQ(r.boxes[box::SpcID_line2], "");
    EXPECT_EQ(r.boxes[box::SpcSamDate], "");
    EXPECT_EQ(r.boxes[box::SizTxt], "0");
    EXPECT_EQ(r.boxes[box::C1], "0");
}

TEST(SpcReader, ShortFilesAreSilentOnlyInCommandLineMode)
{
    ChannelStore store;
    IncomingSpectrum r = readImage(QByteArray(128, '\x01'), store);
    EXPECT_EQ(r.messages, QStringList{"File size not large enough: " + kPath});
    r = readImage(QByteArray(), store);
    EXPECT_EQ(r.messages, QStringList{"Could not find file: " + kPath});
    r = readImage(QByteArray(128, '\x01'), store, true);
    EXPECT_TRUE(r.messages.isEmpty());
    EXPECT_FALSE(r.loaded);
}

TEST(SpcReader, DataEndingEarlyGivesZeros)
{
    SpcImage image;
    image.counts.assign(1024, 4);
    QByteArray bytes = image.bytes();
    bytes.chop(4 * 1000 + 2);
    ChannelStore store;
    for (int i = 0; i < 1024; ++i)
        store.set(i, -1);
    const IncomingSpectrum r = readImage(bytes, store);
    EXPECT_TRUE(r.loaded);
    EXPECT_EQ(store.at(22), 4);
    EXPECT_EQ(store.at(23), 0) << "a value cut in half counts as missing";
    EXPECT_EQ(store.at(1023), 0);
    EXPECT_EQ(r.warnings, QStringList{"the data holds 23 of the 1024 channels declared"});
}

TEST(SpcReader, FirstDataRecordMustLieWithinRecord256)
{
    SpcImage image;
    image.counts.assign(256, 5);
    image.dataRecord = 256;
    ChannelStore store;
    IncomingSpectrum r = readImage(image.bytes(), store);
    EXPECT_TRUE(r.loaded);
    EXPECT_EQ(store.at(255), 5);

    for (std::int16_t record : {std::int16_t(257), std::int16_t(0), std::int16_t(-3)}) {
        image.dataRecord = record;
        QByteArray bytes = SpcImage(image).bytes();
        r = readImage(bytes, store);
        EXPECT_FALSE(r.loaded) << record;
        EXPECT_EQ(r.messages, QStringList{"Error reading " + kPath}) << record;
    }
}

TEST(SpcReader, HeadersThatLieAreReadErrors)
{
    ChannelStore store;
    SpcImage image;
    image.counts.assign(256, 5);
    image.calibrationRecord = 400; // beyond the end of the file
    IncomingSpectrum r = readImage(image.bytes(), store);
    EXPECT_FALSE(r.loaded);
    EXPECT_EQ(r.messages, QStringList{"Error reading " + kPath});

    SpcImage big;
    big.counts.assign(16384, 2);
    big.declaredChannels = 30000;
    r = readImage(big.bytes(), store);
    EXPECT_FALSE(r.loaded);
    EXPECT_EQ(r.messages, (QStringList{"<SpcRec1.spcchn> Spectra size greater than 16384...",
                                       "Error reading " + kPath}));
}

TEST(SpcReader, ATextFileNamedSpcIsRejected)
{
    QByteArray text;
    for (int i = 0; i < 40; ++i)
        text += "Energy calibration, channel " + QByteArray::number(i) + " = 12.5 keV\r\n";
    ChannelStore store;
    const IncomingSpectrum r = readImage(text, store);
    EXPECT_FALSE(r.loaded);
    EXPECT_EQ(r.messages, QStringList{kPath + " is a text file, not a binary SPC spectrum"});
}
