#include "spectra/SpeReader.h"
#include "spectra/BoxNames.h"

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

IncomingSpectrum readSpe(const QByteArray &bytes, ChannelStore &store)
{
    return SpeReader::read(bytes, kPath, store);
}
} // namespace

TEST(SpeReader, FillsTheBoxesAndTheStore)
{
    ChannelStore store;
    const IncomingSpectrum r = readSpe(speFile(), store);
    ASSERT_TRUE(r.loaded) << r.messages.join(u'|').toStdString();
    EXPECT_TRUE(r.warnings.isEmpty()) << r.warnings.join(u'|').toStdString();
    EXPECT_EQ(r.boxes[box::NumChan], "8");
    EXPECT_EQ(r.boxes[box::SpcID], "Soil sample 7");
    EXPECT_EQ(r.boxes[box::SpcID_line2], "Field B");
    EXPECT_EQ(r.boxes[box::AcqDate], "22-Jun-2001");
    EXPECT_EQ(r.boxes[box::AcqTime], "13:05:42");
    EXPECT_EQ(r.boxes[box::LiveTime], "300");
    EXPECT_EQ(r.boxes[box::RealTime], "310");
    // $MCA_CAL wins over $ENER_FIT: it is the full calibration.
    EXPECT_EQ(r.boxes[box::C0], "-0.5");
    EXPECT_EQ(r.boxes[box::C1], "0.5");
    EXPECT_EQ(r.boxes[box::C2], "1E-06");
    EXPECT_EQ(r.boxes[box::C3], "0");
    const int expected[] = {0, 5, 10, 300, 20, 5, 1, 0};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(store.at(i), expected[i]) << i;
}

TEST(SpeReader, ARangeNotFromZeroLeavesTheLowChannelsEmpty)
{
    ChannelStore store;
    store.set(0, 99);
    const IncomingSpectrum r = readSpe(speFile("2 4\n7 8 9\n"), store);
    ASSERT_TRUE(r.loaded);
    EXPECT_EQ(r.boxes[box::NumChan], "5");
    EXPECT_EQ(store.at(0), 0);
    EXPECT_EQ(store.at(2), 7);
    EXPECT_EQ(store.at(4), 9);
}

TEST(SpeReader, WhatTheAnsHeaderCannotCarryIsWarned)
{
    QByteArray file = speFile("0 1\n4 4\n", "$ROI:\n1\n0 1\n$PRESETS:\nLive Time\n300\n");
    file.replace("3\r\n-0.5 0.5 1E-06 keV", "5\r\n1 2 3 4 5 MeV");
    file.replace("Field B\r\n", "Field B\r\nsecond remark\r\n");
    ChannelStore store;
    const IncomingSpectrum r = readSpe(file, store);
    ASSERT_TRUE(r.loaded);
    EXPECT_EQ(r.warnings, QStringList({"remarks beyond the first line are not carried",
                                       "the calibration is in MeV, the ANS file takes keV",
                                       "5 calibration coefficients, the ANS file carries 4",
                                       "not carried into the ANS file: $PRESETS, $ROI"}));
}

TEST(SpeReader, TruncatedOrMalformedFilesAreRefused)
{
    struct Case
    {
        const char *what;
        QByteArray bytes;
        QString reason;
    } cases[] = {
        {"cut in the data", speFile().left(speFile().indexOf("300\r\n20")),
         "the data holds 3 of the 8 channels declared"},
        {"no data", "$SPEC_ID:\nx\n$MEAS_TIM:\n1 1\n", "no $DATA section"},
        {"a word for a count", speFile("0 2\n1 x 3\n"), "Type mismatch"},
        {"range upside down", speFile("5 2\n1\n"), "$DATA range 5 to 2"},
        {"too many channels", speFile("0 20000\n1\n"), "more channels than the store holds"},
        {"binary", QByteArray("$DATA:\n0 1\n1\0 2\n", 16), "a binary file, not SPE text"},
        {"not SPE at all", "hello\n$DATA:\n0 0\n1\n", "text before the first section"},
        {"bad live time", speFile().replace("300 310", "abc 310"),
         "live time \"abc\" is no number"},
    };
    for (const Case &c : cases) {
        ChannelStore store;
        const IncomingSpectrum r = readSpe(c.bytes, store);
        EXPECT_FALSE(r.loaded) << c.what;
        ASSERT_FALSE(r.messages.isEmpty()) << c.what;
        EXPECT_EQ(r.messages.last(), "Error reading " + kPath + ": " + c.reason) << c.what;
    }
}
