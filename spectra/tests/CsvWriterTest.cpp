#include "spectra/CsvWriter.h"
#include "common/core/Failure.h"
#include "spectra/CsvReader.h"

#include <gtest/gtest.h>

using namespace lumen;

namespace {
Spectrum calibrated()
{
    Spectrum s;
    s.counts = {5, 0, 300, -2};
    s.coefficients = {-0.5, 0.5, 0.25};
    s.liveSeconds = 300;
    s.descriptions = {QStringLiteral("Soil sample 7")};
    return s;
}
} // namespace

TEST(CsvWriter, RowsOfChannelEnergyAndCountsAfterAHeader)
{
    const SpectrumImage image = CsvWriter::image(calibrated());
    EXPECT_EQ(image.bytes, "channel,energy (keV),counts\r\n"
                           "0,-0.5,5\r\n"
                           "1,0.25,0\r\n"
                           "2,1.5,300\r\n"
                           "3,3.25,-2\r\n");
    ASSERT_EQ(image.losses.size(), 1);
    EXPECT_EQ(image.losses[0], "a CSV file carries no live time, description");

    Spectrum plain;
    plain.counts = {1, 2};
    plain.coefficients = {0, 0, 0}; // no calibration: no energy column
    const SpectrumImage p = CsvWriter::image(plain);
    EXPECT_EQ(p.bytes, "channel,counts\r\n0,1\r\n1,2\r\n");
    EXPECT_TRUE(p.losses.isEmpty());
}

TEST(CsvWriter, ReadsBackAndQuotesAUnitThatNeedsIt)
{
    Spectrum s = calibrated();
    s.calibrationUnit = QStringLiteral("k\"eV,");
    const CsvReader::Table t = CsvReader::read(CsvWriter::image(s).bytes);
    EXPECT_EQ(t.counts, s.counts);
    EXPECT_EQ(t.energyUnit, s.calibrationUnit);
    ASSERT_EQ(t.energies.size(), 4u);
    EXPECT_EQ(t.energies[3], 3.25);
}

TEST(CsvReader, RefusesWhatIsNotTheTableWritten)
{
    const char *bad[] = {
        "channel,counts\r\n0,1\r\n2,1\r\n",       // a channel skipped
        "channel,counts\r\n0,1.5\r\n",            // counts no whole number
        "channel,counts\r\n0,1\r\n1,",            // cut short
        "chan,counts\r\n0,1\r\n",                 // another header
        "channel,energy (keV),counts\r\n0,1\r\n", // a field missing
    };
    for (const char *text : bad)
        EXPECT_THROW(CsvReader::read(QByteArray(text)), Failure) << text;
}
