#include "spectra/N42Writer.h"
#include "spectra/AnsWriter.h"
#include "spectra/ChnReader.h"
#include "spectra/CsvWriter.h"
#include "spectra/N42Reader.h"
#include "spectra/SpcReader.h"
#include "spectra/SpeReader.h"
#include "spectra/SpectrumFile.h"
#include "spectra/testsupport/SpectrumBuilders.h"

#include <QXmlStreamReader>
#include <functional>
#include <gtest/gtest.h>

using namespace lumen;

namespace {

using Reader = std::function<IncomingSpectrum(QByteArrayView)>;

struct Source
{
    const char *name;
    QByteArray bytes;
    Reader read;
};

QByteArray speText()
{
    return "$SPEC_ID:\r\nSoil sample 7\r\n$SPEC_REM:\r\nField B\r\n"
           "$DATE_MEA:\r\n06/22/2001 13:05:42\r\n$MEAS_TIM:\r\n300.25 310\r\n"
           "$DATA:\r\n0 4\r\n0 5 10 300 2\r\n"
           "$MCA_CAL:\r\n3\r\n-0.5 0.5 1E-06 keV\r\n$END:\r\n";
}

QByteArray n42Text()
{
    return "<?xml version=\"1.0\"?>\n"
           "<RadInstrumentData xmlns=\"http://physics.nist.gov/N42/2011/N42\">\n"
           " <EnergyCalibration id=\"ec1\"><CoefficientValues>1.5 0.25</CoefficientValues>"
           "</EnergyCalibration>\n"
           " <RadMeasurement id=\"m1\">\n"
           "  <StartDateTime>2001-06-22T13:05:42.250+02:00</StartDateTime>\n"
           "  <RealTimeDuration>PT5M10.5S</RealTimeDuration>\n"
           "  <Spectrum id=\"s1\" energyCalibrationReference=\"ec1\"><Remark>Filter 3</Remark>\n"
           "   <LiveTimeDuration>PT300.125S</LiveTimeDuration>\n"
           "   <ChannelData compressionCode=\"CountedZeroes\">5 0 300 7</ChannelData>\n"
           "  </Spectrum>\n </RadMeasurement>\n</RadInstrumentData>\n";
}

QByteArray n42Text2006()
{
    return "<n42:N42InstrumentData xmlns:n42=\"http://physics.nist.gov/N42/2006/N42\">\n"
           " <n42:Measurement><n42:Spectrum ID=\"gamma\"><n42:Remark>Drum 4</n42:Remark>\n"
           "  <n42:StartTime>2006-03-01T10:00:00Z</n42:StartTime>\n"
           "  <n42:RealTime>PT10M39.92S</n42:RealTime><n42:LiveTime>PT639.5S</n42:LiveTime>\n"
           "  <n42:Calibration Type=\"Energy\" EnergyUnits=\"keV\"><n42:Equation>"
           "<n42:Coefficients>1.5 0.75 0</n42:Coefficients></n42:Equation></n42:Calibration>\n"
           "  <n42:ChannelData Compression=\"CountedZeroes\">4 0 2 9</n42:ChannelData>\n"
           " </n42:Spectrum></n42:Measurement>\n</n42:N42InstrumentData>\n";
}

// Every spectrum the tests build, and the example one, each read by its own reader.
std::vector<Source> sources()
{
    test::ChnImage chn;
    chn.counts = test::rampCounts(1024);
    chn.realTicks = 6100;
    chn.liveTicks = 6000;
    test::SpcImage spc;
    spc.counts = test::rampCounts(4096);
    const auto chnRead = [](QByteArrayView b) { return ChnReader::read(b, "s.chn"); };
    const auto n42Read = [](QByteArrayView b) { return N42Reader::read(b, "s.n42"); };
    return {
        {"CHN", chn.bytes(), chnRead},
        {"SPC", spc.bytes(), [](QByteArrayView b) { return SpcReader::read(b, "s.spc"); }},
        {"SPE", speText(), [](QByteArrayView b) { return SpeReader::read(b, "s.spe"); }},
        {"N42", n42Text(), n42Read},
        {"N42 2006", n42Text2006(), n42Read},
        {"CHECK01.CHN",
         SpectrumFile::load(QStringLiteral(LUMEN_SOURCE_DIR "/examples/spectra/CHECK01.CHN")),
         chnRead},
    };
}

} // namespace

// Our N42 read by our own reader gives every value back.
TEST(N42Writer, RoundTripOfEveryTestSpectrum)
{
    for (const Source &source : sources()) {
        SCOPED_TRACE(source.name);
        const IncomingSpectrum in = source.read(source.bytes);
        ASSERT_TRUE(in.loaded) << in.messages.join(u'|').toStdString();
        const Spectrum &value = in.spectrum;
        const SpectrumImage image = N42Writer::image(value);
        const IncomingSpectrum back = N42Reader::read(image.bytes, "out.n42");
        ASSERT_TRUE(back.loaded) << back.messages.join(u'|').toStdString();
        const Spectrum &out = back.spectrum;
        EXPECT_EQ(out.counts, value.counts);
        EXPECT_EQ(out.liveSeconds, value.liveSeconds);
        EXPECT_EQ(out.realSeconds, value.realSeconds);
        ASSERT_EQ(out.start.has_value(), value.start.has_value());
        if (value.start) {
            EXPECT_EQ(*out.start, *value.start);
            EXPECT_EQ(out.start->offsetFromUtc(), value.start->offsetFromUtc());
        }
        EXPECT_EQ(out.coefficients, value.coefficients);
        EXPECT_EQ(out.descriptions, value.descriptions);
        EXPECT_TRUE(back.warnings.isEmpty()) << back.warnings.join(u'|').toStdString();
    }
}

TEST(N42Writer, IsA2011DocumentAndNamesWhatItCannotCarry)
{
    Spectrum s;
    s.counts = {1, 2, 3};
    s.liveSeconds = -1;
    s.realSeconds = 10;
    s.sampleTaken = QDateTime(QDate(2001, 6, 1), QTime(8, 0));
    s.sampleSize = 2.5;
    s.coefficients = {0, 2};
    s.calibrationUnit = QStringLiteral("channels");
    const SpectrumImage image = N42Writer::image(s);
    EXPECT_EQ(image.losses,
              QStringList({"the live time -1 s cannot be written as a duration, the N42 file has "
                           "none",
                           "the sample date has no place in an N42 file",
                           "the sample size has no place in an N42 file",
                           "the energy calibration in \"channels\" cannot be written in keV",
                           "no acquisition start in the file, the N42 file has none"}));
    EXPECT_FALSE(image.carried.liveSeconds);
    EXPECT_TRUE(image.carried.coefficients.empty());

    QXmlStreamReader xml(image.bytes);
    QStringList names;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement) {
            EXPECT_EQ(xml.namespaceUri(), u"http://physics.nist.gov/N42/2011/N42");
            names << xml.name().toString();
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_TRUE(image.bytes.contains("<RealTimeDuration>PT10S</RealTimeDuration>"));
    EXPECT_FALSE(names.contains("LiveTimeDuration"));
    EXPECT_FALSE(names.contains("EnergyCalibration"));
    EXPECT_EQ(names.first(), "RadInstrumentData");
}

TEST(N42Writer, MeVCalibrationIsWrittenInKeV)
{
    Spectrum s;
    s.counts = {1};
    s.start = QDateTime(QDate(2001, 6, 1), QTime(8, 0));
    s.coefficients = {0.001, 0.0005};
    s.deviationPairs = {{0.1, 0.002}, {1.5, -0.001}};
    s.calibrationUnit = QStringLiteral("MeV");
    const SpectrumImage image = N42Writer::image(s);
    EXPECT_TRUE(image.losses.isEmpty());
    EXPECT_EQ(image.carried.coefficients, (std::vector<double>{1, 0.5}));
    EXPECT_TRUE(image.bytes.contains("<CoefficientValues>1 0.5</CoefficientValues>"));
    EXPECT_TRUE(image.bytes.contains("<EnergyValues>100 1500</EnergyValues>"));
    EXPECT_TRUE(image.bytes.contains("<EnergyDeviationValues>2 -1</EnergyDeviationValues>"));
}

// Deviation pairs reach the N42 file and read back; the ANS and CSV files
// keep the polynomial alone and say so.
TEST(N42Writer, DeviationPairsAreWrittenWhereTheyFitAndNamedWhereTheyAreLost)
{
    Spectrum s;
    s.counts = {1, 2, 3};
    s.start = QDateTime(QDate(2001, 6, 1), QTime(8, 0));
    s.coefficients = {0, 3};
    s.deviationPairs = {{0, 0}, {662, -0.75}, {1460, 0.5}};
    const IncomingSpectrum back = N42Reader::read(N42Writer::image(s).bytes, "back.n42");
    ASSERT_TRUE(back.loaded);
    EXPECT_EQ(back.spectrum.deviationPairs, s.deviationPairs);
    EXPECT_TRUE(back.warnings.isEmpty());

    const QString lost = QStringLiteral("3 energy deviation pairs (up to 0.75 keV) are not "
                                        "applied: the %1 file keeps the polynomial alone");
    EXPECT_TRUE(CsvWriter::image(s).losses.contains(lost.arg("CSV")));
    QStringList ansLosses;
    AnsWriter::headerOf(s, &ansLosses);
    EXPECT_EQ(ansLosses, QStringList{lost.arg("ANS")});
}
