#include "spectra/SpeReader.h"
#include "common/core/DateText.h"

#include <gtest/gtest.h>

using namespace lumen;

namespace {
const QString kPath = QStringLiteral("/data/s.spe");

// Laid out as the IAEA description shows an SPE file, with CR LF line ends.
QByteArray speFile(const QByteArray &data = "0 7\r\n0 5 10 300\r\n20 5 1 0\r\n",
                   const QByteArray &extra = "")
{
    return "$SPEC_ID:\r\nSoil sample 7\r\n"
           "$SPEC_REM:\r\nField B\r\n"
           "$DATE_MEA:\r\n06/22/2001 13:05:42\r\n"
           "$MEAS_TIM:\r\n300 310\r\n"
           "$DATA:\r\n" +
           data +
           "$ENER_FIT:\r\n1.5 0.25\r\n"
           "$MCA_CAL:\r\n3\r\n-0.5 0.5 1E-06 keV\r\n" +
           extra + "$END:\r\n";
}

IncomingSpectrum readSpe(const QByteArray &bytes)
{
    return SpeReader::read(bytes, kPath);
}

QString startOf(const IncomingSpectrum &r)
{
    const auto &start = r.spectrum.start;
    return start ? lumen::formatDateTime(*start, u"YYYY-MM-DD HH:MM:SS") : QString();
}
} // namespace

TEST(SpeReader, FillsTheSpectrum)
{
    const IncomingSpectrum r = readSpe(speFile());
    ASSERT_TRUE(r.loaded) << r.messages.join(u'|').toStdString();
    EXPECT_TRUE(r.warnings.isEmpty()) << r.warnings.join(u'|').toStdString();
    const Spectrum &s = r.spectrum;
    EXPECT_EQ(s.counts, (std::vector<std::int32_t>{0, 5, 10, 300, 20, 5, 1, 0}));
    EXPECT_EQ(s.descriptions, QStringList({"Soil sample 7", "Field B"}));
    EXPECT_EQ(startOf(r), "2001-06-22 13:05:42");
    EXPECT_EQ(s.liveSeconds, 300.0);
    EXPECT_EQ(s.realSeconds, 310.0);
    // $MCA_CAL wins over $ENER_FIT: it is the full calibration.
    EXPECT_EQ(s.coefficients, (std::vector<double>{-0.5, 0.5, 1e-6}));
    EXPECT_EQ(s.calibrationUnit, "keV");
}

TEST(SpeReader, ARangeNotFromZeroLeavesTheLowChannelsEmpty)
{
    const IncomingSpectrum r = readSpe(speFile("2 4\n7 8 9\n"));
    ASSERT_TRUE(r.loaded);
    EXPECT_EQ(r.spectrum.counts, (std::vector<std::int32_t>{0, 0, 7, 8, 9}));
}

TEST(SpeReader, WhatTheValueCannotCarryIsNotedButRoutineSectionsAreNot)
{
    QByteArray file = speFile("0 1\n4 4\n", "$ROI:\n1\n0 1\n$PRESETS:\nLive Time\n300\n"
                                            "$SHAPE_CAL:\n3\n1 0 0\n$TEMPERATURE:\n21\n");
    file.replace("3\r\n-0.5 0.5 1E-06 keV", "5\r\n1 2 3 4 0 MeV");
    file.replace("Field B\r\n", "Field B\r\nsecond remark\r\n");
    file.replace("Soil sample 7\r\n", "Soil sample 7\r\nmore of the ID\r\n");
    const IncomingSpectrum r = readSpe(file);
    ASSERT_TRUE(r.loaded);
    EXPECT_TRUE(r.warnings.isEmpty());
    EXPECT_EQ(r.spectrum.notes, QStringList({"$SPEC_ID lines after the first not carried: 1",
                                             "not carried: $TEMPERATURE"}));
    EXPECT_EQ(r.spectrum.descriptions, QStringList({"Soil sample 7", "Field B", "second remark"}));
    EXPECT_EQ(r.spectrum.coefficients, (std::vector<double>{1, 2, 3, 4, 0}));
    EXPECT_EQ(r.spectrum.calibrationUnit, "MeV");
}

TEST(SpeReader, ReadsWhatRealFilesHold)
{
    struct Case
    {
        const char *what;
        QByteArray bytes;
        QString start;
        std::vector<double> coefficients;
    } cases[] = {
        {"PM",
         speFile().replace("13:05:42", "3:12:28 PM"),
         "2001-06-22 15:12:28",
         {-0.5, 0.5, 1e-6}},
        {"12 AM",
         speFile().replace("13:05:42", "12:30:00 AM"),
         "2001-06-22 00:30:00",
         {-0.5, 0.5, 1e-6}},
        {"12 PM",
         speFile().replace("13:05:42", "12:30:00 PM"),
         "2001-06-22 12:30:00",
         {-0.5, 0.5, 1e-6}},
        {"empty $MCA_CAL",
         speFile().replace("3\r\n-0.5 0.5 1E-06 keV\r\n", ""),
         "2001-06-22 13:05:42",
         {1.5, 0.25}},
        {"all-zero $MCA_CAL",
         speFile().replace("-0.5 0.5 1E-06", "0 0 0"),
         "2001-06-22 13:05:42",
         {1.5, 0.25}},
        {"byte-order mark", "\xEF\xBB\xBF" + speFile(), "2001-06-22 13:05:42", {-0.5, 0.5, 1e-6}},
        {"CR alone", speFile().replace("\r\n", "\r"), "2001-06-22 13:05:42", {-0.5, 0.5, 1e-6}},
    };
    for (const Case &c : cases) {
        const IncomingSpectrum r = readSpe(c.bytes);
        ASSERT_TRUE(r.loaded) << c.what << ": " << r.messages.join(u'|').toStdString();
        EXPECT_EQ(startOf(r), c.start) << c.what;
        EXPECT_EQ(r.spectrum.coefficients, c.coefficients) << c.what;
        EXPECT_EQ(r.spectrum.descriptions, QStringList({"Soil sample 7", "Field B"})) << c.what;
        EXPECT_EQ(r.spectrum.channelCount(), 8) << c.what;
    }
}

TEST(SpeReader, TruncatedOrMalformedFilesAreRefusedByName)
{
    struct Case
    {
        const char *what;
        QByteArray bytes;
        QString reason;
    } cases[] = {
        {"no data", "$SPEC_ID:\nx\n$MEAS_TIM:\n1 1\n", "no $DATA section"},
        {"a word for a count", speFile("0 2\n1 x 3\n"), "$DATA channel 1 \"x\" is no number"},
        {"a fraction for a count", speFile("0 2\n1 2.5 3\n"),
         "$DATA channel 1 \"2.5\" is no whole number"},
        {"a count beyond 32 bits", speFile("0 2\n1 2 3E10\n"),
         "$DATA channel 2 \"3E10\" is beyond 32 bits"},
        {"range upside down", speFile("5 2\n1\n"), "$DATA range 5 to 2"},
        {"too many channels", speFile("0 20000\n1\n"), "more channels than the store holds"},
        {"binary", QByteArray("$DATA:\n0 1\n1\0 2\n", 16), "a binary file, not SPE text"},
        {"not SPE at all", "hello\n$DATA:\n0 0\n1\n", "text before the first section"},
        {"bad live time", speFile().replace("300 310", "abc 310"),
         "the $MEAS_TIM live time \"abc\" is no number"},
        {"coefficients missing", speFile().replace("3\r\n-0.5", "5\r\n-0.5"),
         "$MCA_CAL names 5 coefficients, 4 follow"},
        {"a count beyond int", speFile().replace("3\r\n-0.5 0.5 1E-06 keV", "2147483647"),
         "$MCA_CAL names 2147483647 coefficients, 0 follow"},
        {"a huge count", speFile().replace("3\r\n-0.5", "1E300\r\n-0.5"),
         "$MCA_CAL names 1E300 coefficients, 4 follow"},
        {"a fractional count", speFile().replace("3\r\n-0.5", "2.5\r\n-0.5"),
         "$MCA_CAL names 2.5 coefficients, 4 follow"},
    };
    for (const Case &c : cases) {
        const IncomingSpectrum r = readSpe(c.bytes);
        EXPECT_FALSE(r.loaded) << c.what;
        ASSERT_FALSE(r.messages.isEmpty()) << c.what;
        EXPECT_EQ(r.messages.last(), "Error reading " + kPath + ": " + c.reason) << c.what;
    }
}
