#include "spectra/N42Reader.h"
#include "common/core/DateText.h"
#include "spectra/BoxNames.h"

#include <gtest/gtest.h>

using namespace lumen;

namespace {
const QString kPath = QStringLiteral("/data/s.n42");

// One measurement as the N42.42 description lays it out.
QByteArray n42File(const QByteArray &channelData =
                       "<ChannelData compressionCode=\"CountedZeroes\">5 0 3 7 300 0 2 1"
                       "</ChannelData>",
                   const QByteArray &more = "")
{
    return "<?xml version=\"1.0\"?>\n"
           "<RadInstrumentData xmlns=\"http://physics.nist.gov/N42/2011/N42\">\n"
           " <Remark>Soil sample 7</Remark>\n"
           " <EnergyCalibration id=\"ec1\">\n"
           "  <CoefficientValues>-0.5 0.5 1E-06</CoefficientValues>\n"
           " </EnergyCalibration>\n"
           " <RadMeasurement id=\"m1\">\n"
           "  <Remark>Field B</Remark>\n"
           "  <StartDateTime>2001-06-22T13:05:42</StartDateTime>\n"
           "  <RealTimeDuration>PT5M10.5S</RealTimeDuration>\n"
           "  <Spectrum id=\"s1\" energyCalibrationReference=\"ec1\">\n"
           "   <LiveTimeDuration>PT300S</LiveTimeDuration>\n   " +
           channelData + "\n  </Spectrum>\n" + more +
           " </RadMeasurement>\n"
           "</RadInstrumentData>\n";
}

IncomingSpectrum readN42(const QByteArray &bytes, ChannelStore &store)
{
    return N42Reader::read(bytes, kPath, store);
}
} // namespace

TEST(N42Reader, FillsTheBoxesAndExpandsCountedZeroes)
{
    ChannelStore store;
    const IncomingSpectrum r = readN42(n42File(), store);
    ASSERT_TRUE(r.loaded) << r.messages.join(u'|').toStdString();
    EXPECT_TRUE(r.warnings.isEmpty());
    EXPECT_EQ(r.boxes[box::NumChan], "9");
    EXPECT_EQ(r.boxes[box::SpcID], "Soil sample 7");
    EXPECT_EQ(r.boxes[box::SpcID_line2], "Field B");
    EXPECT_EQ(r.boxes[box::AcqDate], "22-Jun-2001");
    EXPECT_EQ(r.boxes[box::AcqTime], "13:05:42");
    EXPECT_EQ(r.boxes[box::LiveTime], "300");
    EXPECT_EQ(r.boxes[box::RealTime], "310.5");
    EXPECT_EQ(r.boxes[box::C1], "0.5");
    EXPECT_EQ(r.boxes[box::C2], "1E-06");
    const int expected[] = {5, 0, 0, 0, 7, 300, 0, 0, 1};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(store.at(i), expected[i]) << i;
}

TEST(N42Reader, DurationsInIso8601)
{
    EXPECT_EQ(N42Reader::durationSeconds("PT300S"), 300.0);
    EXPECT_EQ(N42Reader::durationSeconds("P1DT1H1M1.5S"), 90061.5);
    EXPECT_EQ(N42Reader::durationSeconds(" PT2H "), 7200.0);
    for (const char *bad : {"", "P", "PT", "300", "PT-5S", "PT5X"})
        EXPECT_FALSE(N42Reader::durationSeconds(QString::fromLatin1(bad))) << bad;
}

TEST(N42Reader, FurtherSpectraAndRemarksAreWarned)
{
    const QByteArray second = "  <Spectrum id=\"s2\"><ChannelData>1 1</ChannelData></Spectrum>\n"
                              "  <Remark>third</Remark>\n";
    ChannelStore store;
    const IncomingSpectrum r = readN42(n42File("<ChannelData>1 2 3</ChannelData>", second), store);
    ASSERT_TRUE(r.loaded);
    EXPECT_EQ(r.boxes[box::NumChan], "3");
    EXPECT_EQ(r.warnings, QStringList({"3 remarks, the ANS file carries the first two",
                                       "2 spectra in the file, only the first converted"}));
}

TEST(N42Reader, TruncatedOrMalformedFilesAreRefused)
{
    struct Case
    {
        const char *what;
        QByteArray bytes;
        QString reason; // start of the reason
    } cases[] = {
        {"cut short", n42File().left(n42File().indexOf("</Spectrum>")), "XML error"},
        {"no channel data", n42File("<Nothing/>"), "no spectrum with channel data"},
        {"a fraction", n42File("<ChannelData>1 2.5</ChannelData>"),
         "the count \"2.5\" is no whole number"},
        {"a word", n42File("<ChannelData>1 x</ChannelData>"), "a count \"x\" is no number"},
        {"zeros without a length",
         n42File("<ChannelData compressionCode=\"CountedZeroes\">1 0"
                 "</ChannelData>"),
         "a run of zeros without its length"},
        {"a huge run",
         n42File("<ChannelData compressionCode=\"CountedZeroes\">0 99999"
                 "</ChannelData>"),
         "a run of 99999 zeros"},
        {"unknown compression", n42File("<ChannelData compressionCode=\"Zip\">1</ChannelData>"),
         "compression \"Zip\" is not supported"},
        {"bad duration", n42File().replace("PT300S", "300 s"),
         "the duration \"300 s\" cannot be read"},
        {"not XML", "$SPEC_ID:\nhello\n", "XML error"},
    };
    for (const Case &c : cases) {
        ChannelStore store;
        const IncomingSpectrum r = readN42(c.bytes, store);
        EXPECT_FALSE(r.loaded) << c.what;
        ASSERT_EQ(r.messages.size(), 1) << c.what;
        EXPECT_TRUE(r.messages[0].startsWith("Error reading " + kPath + ": " + c.reason))
            << c.what << ": " << r.messages[0].toStdString();
    }
}
