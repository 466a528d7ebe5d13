#include "spectra/ChnReader.h"
#include "common/testsupport/TestSupport.h"
#include "spectra/BoxNames.h"
#include "spectra/SpcReader.h"
#include "spectra/tests/SpectrumBuilders.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace lumen;
using lumen::test::ChnImage;

namespace {
const QString kPath = QStringLiteral("/data/s.chn");

IncomingSpectrum readImage(const QByteArray &bytes, ChannelStore &store)
{
    return ChnReader::read(bytes, kPath, store);
}
} // namespace

TEST(ChnReader, FillsTheIncomingBoxesFromHeaderAndTrailer)
{
    ChnImage image;
    image.counts = test::rampCounts(1024);
    image.liveTicks = 15000;
    image.realTicks = 15525;
    ChannelStore store;
    const IncomingSpectrum r = readImage(image.bytes(), store);

    ASSERT_TRUE(r.loaded);
    EXPECT_TRUE(r.messages.isEmpty());
    EXPECT_EQ(r.boxes[box::NumChan], "1024");
    EXPECT_EQ(r.boxes[box::LiveTime], "300.00");
    EXPECT_EQ(r.boxes[box::RealTime], "310.50");
    EXPECT_EQ(r.boxes[box::AcqDate], "22-JUN-2001");
    EXPECT_EQ(r.boxes[box::AcqTime], "13:05");
    EXPECT_EQ(r.boxes[box::fType], "Integer");
    EXPECT_FALSE(r.typeOnRed);
    EXPECT_EQ(r.boxes[box::SpcID], "Soil sample 7");
    EXPECT_EQ(r.boxes[box::SpcID_line2], "Field B");
    EXPECT_EQ(r.boxes[box::C0], "0.5");
    EXPECT_EQ(r.boxes[box::C1], "0.25");
    EXPECT_EQ(r.boxes[box::C2], "1E-06");
    EXPECT_EQ(r.boxes[box::C3], "0");
    for (int i = 0; i < 1024; ++i)
        ASSERT_EQ(store.at(i), image.counts[std::size_t(i)]) << i;
}

TEST(ChnReader, CalibrationComesOnlyFromCalibratedTrailers)
{
    ChnImage image;
    image.counts.assign(300, 1);
    image.trailerType = -101;
    ChannelStore store;
    IncomingSpectrum r = readImage(image.bytes(), store);
    EXPECT_EQ(r.boxes[box::C1], "0.25");
    EXPECT_EQ(r.boxes[box::C2], "0") << "a linear calibration has no quadratic term";

    image.trailerType = -1;
    r = readImage(image.bytes(), store);
    EXPECT_FALSE(r.boxes.contains(box::C0));
    EXPECT_FALSE(r.boxes.contains(box::C3));
}

TEST(ChnReader, ShortFilesGiveTheirMessagesAndLoadNothing)
{
    ChannelStore store;
    IncomingSpectrum r = readImage(QByteArray(), store);
    EXPECT_FALSE(r.loaded);
    EXPECT_EQ(r.messages, QStringList{"Could not find file: " + kPath});

    r = readImage(QByteArray(32, '\x01'), store);
    EXPECT_FALSE(r.loaded);
    EXPECT_EQ(r.messages, QStringList{"File size not large enough: " + kPath});
    EXPECT_TRUE(r.boxes.isEmpty());
}

TEST(ChnReader, FewChannelsInformButStillLoad)
{
    ChnImage image;
    image.trailer = false;
    image.counts.clear();
    QByteArray bytes = image.bytes() + QByteArray(1, '\0'); // 33 bytes, 0 channels
    ChannelStore store;
    store.set(0, 99);
    IncomingSpectrum r = readImage(bytes, store);
    EXPECT_TRUE(r.loaded);
    EXPECT_EQ(r.messages,
              QStringList{"<SpcRec1.NumChan> Less than 256 channels reported : " + kPath});
    EXPECT_EQ(store.at(0), 99) << "no channel was read";

    image.counts.assign(100, 4);
    r = readImage(image.bytes(), store);
    EXPECT_TRUE(r.loaded);
    EXPECT_EQ(r.messages.size(), 1);
    EXPECT_EQ(store.at(99), 4);
}

TEST(ChnReader, MoreChannelsThanTheStoreHoldsIsAReadError)
{
    ChnImage image;
    image.counts.assign(16384, 3);
    image.declaredChannels = 20000;
    ChannelStore store;
    const IncomingSpectrum r = readImage(image.bytes(), store);
    EXPECT_FALSE(r.loaded);
    EXPECT_EQ(r.messages, (QStringList{"<SpcRec1.NumChan> Spectra size greater than 16384...",
                                       "Error reading " + kPath}));
    EXPECT_EQ(r.boxes[box::NumChan], "20000") << "boxes filled before the failure stay";
    EXPECT_EQ(store.at(16383), 3);
}

TEST(ChnReader, DataEndingEarlyGivesZerosAndNoDescriptions)
{
    ChnImage image;
    image.counts.assign(10, 8);
    image.declaredChannels = 1024;
    image.trailer = false;
    ChannelStore store;
    for (int i = 0; i < 1024; ++i)
        store.set(i, -1);
    QByteArray bytes = image.bytes();
    bytes.append("\x05\x00", 2); // half a value: counts as missing
    const IncomingSpectrum r = readImage(bytes, store);
    EXPECT_TRUE(r.loaded);
    EXPECT_EQ(store.at(9), 8);
    for (int i = 10; i < 1024; ++i)
        ASSERT_EQ(store.at(i), 0) << i;
    EXPECT_FALSE(r.boxes.contains(box::SpcID));
    EXPECT_EQ(r.warnings, QStringList{"the data holds 10 of the 1024 channels declared"});
}

TEST(ChnReader, UnknownFileTypeIsShownOnRedAndStillLoads)
{
    ChnImage image;
    image.fileType = 5;
    image.counts.assign(256, 1);
    ChannelStore store;
    const IncomingSpectrum r = readImage(image.bytes(), store);
    EXPECT_TRUE(r.loaded);
    EXPECT_EQ(r.boxes[box::fType], "Unknown [Type=5]");
    EXPECT_TRUE(r.typeOnRed);
}

TEST(ChnReader, DescriptionsFromRealInstrumentsAreTakenInStride)
{
    ChnImage image;
    image.counts.assign(256, 1);
    image.desc1 = QByteArray("  Caf\xe9 sample\r\n", 16);
    image.desc2 = QByteArray(63, 'y');
    image.len2 = 200; // longer than the field: the whole 63 characters
    ChannelStore store;
    IncomingSpectrum r = readImage(image.bytes(), store);
    EXPECT_EQ(r.boxes[box::SpcID], QString::fromUtf8("Caf\u00e9 sample"));
    EXPECT_EQ(r.boxes[box::SpcID_line2], QString(63, u'y'));

    image.len1 = 0;
    r = readImage(image.bytes(), store);
    EXPECT_EQ(r.boxes[box::SpcID], "");

    // A trailer cut short: what is there is read, lengths checked against it.
    image.len1 = 60;
    image.trailerBytes = 263;
    r = readImage(image.bytes(), store);
    EXPECT_TRUE(r.loaded);
    EXPECT_EQ(r.boxes[box::SpcID], "Caf\u00e9");
    EXPECT_EQ(r.boxes[box::SpcID_line2], "");
    image.trailerBytes = 3;
    r = readImage(image.bytes(), store);
    EXPECT_TRUE(r.loaded);
    EXPECT_FALSE(r.boxes.contains(box::C0));
}

TEST(ChnReader, FilesOnDisk)
{
    QTemporaryDir dir;
    ChannelStore store;
    const QString missing = dir.filePath(QStringLiteral("none.chn"));
    IncomingSpectrum r = ChnReader::readFile(missing, store);
    EXPECT_EQ(r.messages, QStringList{"Could not find file: " + missing});
    EXPECT_FALSE(QFileInfo::exists(missing)) << "looking must not create the file";

    r = ChnReader::readFile(dir.path(), store);
    EXPECT_EQ(r.messages, QStringList{"Not a regular file: " + dir.path()});

    const QString empty = dir.filePath(QStringLiteral("empty.chn"));
    ASSERT_TRUE(lumen::test::writeBytes(empty, QByteArray()));
    r = ChnReader::readFile(empty, store);
    EXPECT_FALSE(r.loaded);
    EXPECT_TRUE(QFileInfo::exists(empty)) << "an empty file of the operator's is left alone";

    ChnImage image;
    image.counts.assign(512, 6);
    const QString good = dir.filePath(QStringLiteral("good.chn"));
    ASSERT_TRUE(lumen::test::writeBytes(good, image.bytes()));
    int pumps = 0;
    r = ChnReader::readFile(good, store, [&pumps] { ++pumps; });
    EXPECT_TRUE(r.loaded);
    EXPECT_GT(pumps, 0);
}

TEST(ChnReader, StartKeepsItsSecondsAndCentury)
{
    struct Case
    {
        QByteArray date, seconds;
        QString shownDate, shownTime;
    } cases[] = {
        {"22JUN011", "42", "22-JUN-2001", "13:05:42"},
        {"22JUN990", "07", "22-JUN-1999", "13:05:07"},
        {"22JUN99 ", "", "22-JUN-99", "13:05"},   // no century, no seconds
        {"22JUN017", "4x", "22-JUN-01", "13:05"}, // neither is a digit
    };
    for (const Case &c : cases) {
        ChnImage image;
        image.counts.assign(256, 1);
        image.date = c.date;
        image.seconds = c.seconds;
        ChannelStore store;
        const IncomingSpectrum r = readImage(image.bytes(), store);
        EXPECT_EQ(r.boxes[box::AcqDate], c.shownDate) << c.date.constData();
        EXPECT_EQ(r.boxes[box::AcqTime], c.shownTime) << c.date.constData();
    }
}

TEST(SpectrumReaders, RefuseWhatIsNoRegularFileWithoutBlocking)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe.chn"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString &path : {QStringLiteral("/dev/zero"), fifo, dir.path()}) {
        ChannelStore store;
        const IncomingSpectrum chn = ChnReader::readFile(path, store);
        const IncomingSpectrum spc = SpcReader::readFile(path, store, false);
        EXPECT_FALSE(chn.loaded || spc.loaded) << path.toStdString();
        EXPECT_EQ(chn.messages, QStringList{"Not a regular file: " + path});
        EXPECT_EQ(spc.messages, QStringList{"Not a regular file: " + path});
    }
}
