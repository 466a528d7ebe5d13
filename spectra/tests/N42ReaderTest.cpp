#include "spectra/N42Reader.h"

#include <QTimeZone>

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

// The 2006 schema: a prefix, times and calibration inside each spectrum,
// "Compression" for the run-length coding; a neutron spectrum first without data.
QByteArray n42File2006(const QByteArray &gammaData = "4 0 2 9")
{
    return "<?xml version=\"1.0\"?>\n"
           "<n42:N42InstrumentData xmlns:n42=\"http://physics.nist.gov/N42/2006/N42\">\n"
           " <n42:Measurement>\n"
           "  <n42:Spectrum ID=\"neutron\"><n42:RealTime>PT1S</n42:RealTime></n42:Spectrum>\n"
           "  <n42:Spectrum ID=\"gamma\">\n"
           "   <n42:Remark>Drum 4</n42:Remark>\n"
           "   <n42:StartTime>2006-03-01T10:00:00Z</n42:StartTime>\n"
           "   <n42:RealTime>PT10M39.92S</n42:RealTime>\n"
           "   <n42:LiveTime>PT639.5S</n42:LiveTime>\n"
           "   <n42:Calibration Type=\"FWHM\"><n42:Equation><n42:Coefficients>9 9"
           "</n42:Coefficients></n42:Equation></n42:Calibration>\n"
           "   <n42:Calibration Type=\"Energy\" EnergyUnits=\"keV\">\n"
           "    <n42:Equation Model=\"Polynomial\"><n42:Coefficients>1.5 0.75 0"
           "</n42:Coefficients></n42:Equation>\n"
           "   </n42:Calibration>\n"
           "   <n42:ChannelData Compression=\"CountedZeroes\">" +
           gammaData +
           "</n42:ChannelData>\n"
           "  </n42:Spectrum>\n"
           " </n42:Measurement>\n"
           "</n42:N42InstrumentData>\n";
}

IncomingSpectrum readN42(const QByteArray &bytes)
{
    return N42Reader::read(bytes, kPath);
}
} // namespace

TEST(N42Reader, FillsTheSpectrumAndExpandsCountedZeroes)
{
    const IncomingSpectrum r = readN42(n42File());
    ASSERT_TRUE(r.loaded) << r.messages.join(u'|').toStdString();
    EXPECT_TRUE(r.warnings.isEmpty());
    const Spectrum &s = r.spectrum;
    EXPECT_EQ(s.counts, (std::vector<std::int32_t>{5, 0, 0, 0, 7, 300, 0, 0, 1}));
    EXPECT_EQ(s.descriptions, QStringList({"Soil sample 7", "Field B"}));
    EXPECT_EQ(s.start, QDateTime(QDate(2001, 6, 22), QTime(13, 5, 42)));
    EXPECT_EQ(s.liveSeconds, 300.0);
    EXPECT_EQ(s.realSeconds, 310.5);
    EXPECT_EQ(s.coefficients, (std::vector<double>{-0.5, 0.5, 1e-6}));
    EXPECT_TRUE(s.notes.isEmpty());
}

TEST(N42Reader, ReadsThe2006Schema)
{
    const IncomingSpectrum r = readN42(n42File2006());
    ASSERT_TRUE(r.loaded) << r.messages.join(u'|').toStdString();
    const Spectrum &s = r.spectrum;
    EXPECT_EQ(s.counts, (std::vector<std::int32_t>{4, 0, 0, 9}));
    EXPECT_EQ(s.liveSeconds, 639.5);
    EXPECT_EQ(s.realSeconds, 639.92);
    ASSERT_TRUE(s.start);
    EXPECT_EQ(s.start->toUTC(), QDateTime(QDate(2006, 3, 1), QTime(10, 0), Qt::UTC));
    EXPECT_EQ(s.coefficients, (std::vector<double>{1.5, 0.75, 0}));
    EXPECT_EQ(s.calibrationUnit, "keV");
    EXPECT_EQ(s.descriptions, QStringList{"Drum 4"});
    EXPECT_EQ(s.notes, QStringList{"2 spectra in the file, only spectrum 2 (gamma) converted"});
}

TEST(N42Reader, TheSpectrumsOwnReferenceAndRemarkComeFirst)
{
    const QByteArray second = " <EnergyCalibration id=\"ec2\"><CoefficientValues>2 3"
                              "</CoefficientValues></EnergyCalibration>\n";
    QByteArray file = n42File("<Remark>Own</Remark><ChannelData>1 2 3</ChannelData>");
    file.replace(" <RadMeasurement", second + " <RadMeasurement");
    file.replace("energyCalibrationReference=\"ec1\"", "energyCalibrationReference=\"ec2\"");
    const IncomingSpectrum r = readN42(file);
    ASSERT_TRUE(r.loaded);
    EXPECT_EQ(r.spectrum.coefficients, (std::vector<double>{2, 3}));
    EXPECT_EQ(r.spectrum.descriptions, QStringList({"Own", "Soil sample 7", "Field B"}));
    EXPECT_TRUE(r.spectrum.notes.isEmpty()) << "the reference chose among the calibrations";

    file.replace("energyCalibrationReference=\"ec2\"", "energyCalibrationReference=\"ec9\"");
    EXPECT_EQ(readN42(file).spectrum.notes,
              QStringList{"the energy calibration \"ec9\" the spectrum names is not in the file"});
}

TEST(N42Reader, A2006SpectrumFindsItsCalibrationByItsIds)
{
    QByteArray file = n42File2006();
    const qsizetype from = file.indexOf("   <n42:Calibration Type=\"Energy\"");
    const qsizetype to = file.indexOf("</n42:Calibration>", from) + 19;
    QByteArray calibration = file.mid(from, to - from);
    file.remove(from, to - from);
    calibration.replace("Type=\"Energy\"", "ID=\"c2\" Type=\"Energy\"");
    const QByteArray other = "<n42:Calibration ID=\"c1\"><n42:Coefficients>7 7</n42:Coefficients>"
                             "</n42:Calibration>\n";
    file.replace(" </n42:Measurement>", other + calibration + " </n42:Measurement>");
    file.replace("<n42:Spectrum ID=\"gamma\">",
                 "<n42:Spectrum ID=\"gamma\" CalibrationIDs=\"c2\">");
    const IncomingSpectrum r = readN42(file);
    ASSERT_TRUE(r.loaded) << r.messages.join(u'|').toStdString();
    EXPECT_EQ(r.spectrum.coefficients, (std::vector<double>{1.5, 0.75, 0}));
}

TEST(N42Reader, DurationsInIso8601)
{
    EXPECT_EQ(N42Reader::durationSeconds("PT300S"), 300.0);
    EXPECT_EQ(N42Reader::durationSeconds("P1DT1H1M1.5S"), 90061.5);
    EXPECT_EQ(N42Reader::durationSeconds(" PT2H "), 7200.0);
    for (const char *bad : {"", "P", "PT", "300", "PT-5S", "PT5X"})
        EXPECT_FALSE(N42Reader::durationSeconds(QString::fromLatin1(bad))) << bad;
}

TEST(N42Reader, FurtherSpectraAreNoted)
{
    const QByteArray second = "  <Spectrum id=\"s2\"><ChannelData>1 1</ChannelData></Spectrum>\n"
                              "  <Remark>third</Remark>\n";
    const IncomingSpectrum r = readN42(n42File("<ChannelData>1 2 3</ChannelData>", second));
    ASSERT_TRUE(r.loaded);
    EXPECT_EQ(r.spectrum.channelCount(), 3);
    EXPECT_EQ(r.spectrum.descriptions.size(), 3);
    EXPECT_EQ(r.spectrum.notes,
              QStringList{"2 spectra in the file, only spectrum 1 (s1) converted"});
}

TEST(N42Reader, TruncatedOrMalformedFilesAreRefusedByName)
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
         "the ChannelData count at channel 1 \"2.5\" is no whole number"},
        {"a word", n42File("<ChannelData>1 x</ChannelData>"),
         "the ChannelData count at channel 1 \"x\" is no number"},
        {"beyond 32 bits", n42File("<ChannelData>1 3E9</ChannelData>"),
         "the ChannelData count at channel 1 \"3E9\" is beyond 32 bits"},
        {"zeros without a length",
         n42File("<ChannelData compressionCode=\"CountedZeroes\">1 0"
                 "</ChannelData>"),
         "a run of zeros without its length"},
        {"a huge run",
         n42File("<ChannelData compressionCode=\"CountedZeroes\">0 99999"
                 "</ChannelData>"),
         "a run of 99999 zeros at channel 0"},
        {"a fractional run",
         n42File("<ChannelData compressionCode=\"CountedZeroes\">4 0 2.5 1"
                 "</ChannelData>"),
         "a run of 2.5 zeros at channel 1"},
        {"a fractional run, 2006", n42File2006("0 2.5 1"), "a run of 2.5 zeros at channel 0"},
        {"unknown compression", n42File("<ChannelData compressionCode=\"Zip\">1</ChannelData>"),
         "compression \"Zip\" is not supported"},
        {"bad duration", n42File().replace("PT300S", "300 s"),
         "the live time \"300 s\" cannot be read"},
        {"not XML", "$SPEC_ID:\nhello\n", "XML error"},
    };
    for (const Case &c : cases) {
        const IncomingSpectrum r = readN42(c.bytes);
        EXPECT_FALSE(r.loaded) << c.what;
        ASSERT_EQ(r.messages.size(), 1) << c.what;
        EXPECT_TRUE(r.messages[0].startsWith("Error reading " + kPath + ": " + c.reason))
            << c.what << ": " << r.messages[0].toStdString();
    }
}
