#include "common/core/DateText.h"
#include "spectra/AnsReader.h"
#include "spectra/AnsWriter.h"

#include <QTimeZone>
#include <gtest/gtest.h>

using namespace lumen;

namespace {
Spectrum sample()
{
    Spectrum s;
    s.counts = {1, 2, 3, 4};
    s.liveSeconds = 300.0;
    s.realSeconds = 310.5;
    s.start = QDateTime(QDate(2001, 6, 22), QTime(13, 5, 42));
    s.coefficients = {-0.5, 0.5, 1e-6};
    s.descriptions = {"Soil sample 7", "Field B"};
    s.sampleSize = 1.5;
    s.sampleUnit = "kg";
    return s;
}
} // namespace

TEST(AnsFromSpectrum, TheHeaderCarriesTheValueAndReadsBackEqual)
{
    const Spectrum s = sample();
    QStringList losses;
    const AnsHeader h = AnsWriter::headerOf(s, &losses);
    EXPECT_TRUE(losses.isEmpty()) << losses.join(u'|').toStdString();
    EXPECT_EQ(h.spectrumId(), QStringLiteral("Soil sample 7 Field B").leftJustified(72));
    EXPECT_EQ(h.groupSize(), 4);
    EXPECT_EQ(h.coefficient(2), 1e-6f);
    EXPECT_EQ(h.coefficient(3), 0.0f);

    const Spectrum back = AnsReader::spectrumOf(AnsWriter::toBytes(h, s.counts));
    EXPECT_EQ(back.counts, s.counts);
    EXPECT_EQ(back.liveSeconds, s.liveSeconds);
    EXPECT_EQ(back.realSeconds, s.realSeconds);
    EXPECT_EQ(back.start, s.start);
    EXPECT_EQ(back.descriptions, QStringList{"Soil sample 7 Field B"});
    EXPECT_FALSE(back.sampleTaken);
}

TEST(AnsFromSpectrum, AStartWithItsOffsetIsWrittenAsTheLocalClockShowedIt)
{
    Spectrum s = sample();
    const QDateTime utc(QDate(2020, 1, 5), QTime(1, 2, 3), Qt::UTC);
    s.start = utc.toOffsetFromUtc(7200);
    const AnsHeader h = AnsWriter::headerOf(s);
    const QDateTime local = utc.toLocalTime();
    EXPECT_EQ(h.mcaStart(), lumen::toOleDate(QDateTime(local.date(), local.time())));
}

TEST(AnsFromSpectrum, WhatTheHeaderCannotCarryIsNamedAndNothingElse)
{
    struct Case
    {
        const char *what;
        std::function<void(Spectrum &)> change;
        QStringList losses;
    } cases[] = {
        {"a fifth coefficient of 0",
         [](Spectrum &s) {
             s.coefficients = {1, 2, 3, 4, 0};
         },
         {}},
        {"a fifth coefficient",
         [](Spectrum &s) {
             s.coefficients = {1, 2, 3, 4, 5e-9};
         },
         {"5 calibration coefficients, the ANS file carries 4"}},
        {"MeV",
         [](Spectrum &s) { s.calibrationUnit = "MeV"; },
         {"the calibration is in MeV, the ANS file takes keV"}},
        {"MeV without a calibration",
         [](Spectrum &s) { s.calibrationUnit = "MeV", s.coefficients.clear(); },
         {}},
        {"three descriptions",
         [](Spectrum &s) { s.descriptions << "third"; },
         {"a description line beyond the second, the ANS file carries two"}},
        {"a long description",
         [](Spectrum &s) { s.descriptions = {QString(80, u'x')}; },
         {"the description is cut to the ANS file's 72 characters"}},
        {"a long unit",
         [](Spectrum &s) { s.sampleUnit = "grams"; },
         {"the sample unit \"grams\" is cut to the ANS file's 4 characters"}},
        {"a coefficient beyond single precision",
         [](Spectrum &s) {
             s.coefficients = {0, 1e300};
         },
         {"C(1) is beyond single precision, written as 0"}},
        {"a note", [](Spectrum &s) { s.notes << "not carried: $X"; }, {"not carried: $X"}},
    };
    for (const Case &c : cases) {
        Spectrum s = sample();
        c.change(s);
        QStringList losses;
        AnsWriter::headerOf(s, &losses);
        EXPECT_EQ(losses, c.losses) << c.what;
    }
}
