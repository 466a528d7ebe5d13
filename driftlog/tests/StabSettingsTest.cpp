#include "driftlog/core/StabSettings.h"
#include "common/core/ByteRecord.h"
#include "common/core/Failure.h"
#include "common/testsupport/TestSupport.h"

#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>

using lumen::driftlog::StabSettings;

namespace {
StabSettings sample()
{
    StabSettings s;
    s.reportPath = "/data/RESULTS.TXT";
    s.referenceDate = "22-Jun-2001";
    s.referenceTime = "13:05:00";
    s.gainOption = false;
    s.keVOption = true;
    s.referenceCentre = 661.66f;
    return s;
}
} // namespace

TEST(StabSettings, RecordLayout)
{
    const QByteArray r = sample().toRecord();
    ASSERT_EQ(r.size(), 512);
    EXPECT_EQ(r.mid(0, 72), QByteArray("/data/RESULTS.TXT").leftJustified(72, ' '));
    EXPECT_EQ(r.mid(72, 20), QByteArray("22-Jun-2001").leftJustified(20, ' '));
    EXPECT_EQ(r.mid(92, 20), QByteArray("13:05:00").leftJustified(20, ' '));
    EXPECT_EQ(r.mid(112, 2), QByteArray("\x00\x00", 2));
    EXPECT_EQ(r.mid(114, 2), QByteArray("\xff\xff", 2));
    float centre = 0;
    std::memcpy(&centre, r.constData() + 116, 4);
    EXPECT_EQ(centre, 661.66f);
    EXPECT_EQ(r.mid(120), QByteArray(392, '\0'));
}

TEST(StabSettings, LongPathIsCutAndRoundTrip)
{
    StabSettings s = sample();
    s.reportPath = QString(100, QLatin1Char('p'));
    const auto back = StabSettings::fromRecord(s.toRecord());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->reportPath, QString(72, QLatin1Char('p')));
    EXPECT_EQ(back->referenceDate, s.referenceDate);
    EXPECT_EQ(back->referenceTime, s.referenceTime);
    EXPECT_FALSE(back->gainOption);
    EXPECT_TRUE(back->keVOption);
    EXPECT_EQ(back->referenceCentre, 661.66f);
}

TEST(StabSettings, DamagedRecords)
{
    QByteArray r = sample().toRecord();
    EXPECT_FALSE(StabSettings::fromRecord(r.left(511)));

    // Any non-zero state selects; a non-finite centre is no reference.
    lumen::ByteRecordWriter w(512);
    w.putInt16(112, 1);
    w.putFloat(116, std::numeric_limits<float>::quiet_NaN());
    const auto s = StabSettings::fromRecord(w.bytes());
    ASSERT_TRUE(s);
    EXPECT_TRUE(s->gainOption);
    EXPECT_FALSE(s->keVOption);
    EXPECT_EQ(s->referenceCentre, 0.0f);
}

TEST(StabSettings, FileLoadAndInPlaceSave)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("STAB&FILE.DAT");
    EXPECT_FALSE(StabSettings::load(path));
    EXPECT_FALSE(QFile::exists(path));

    ASSERT_TRUE(lumen::test::writeBytes(path, {}));
    EXPECT_FALSE(StabSettings::load(path));

    ASSERT_TRUE(lumen::test::writeBytes(path, QByteArray(100, 'x')));
    EXPECT_THROW(StabSettings::load(path), lumen::Failure);

    // Saving over a short file leaves exactly one record.
    sample().save(path);
    EXPECT_EQ(lumen::test::fileBytes(path), sample().toRecord());

    // A longer file: record 1 is read and overwritten, the tail is kept.
    ASSERT_TRUE(lumen::test::writeBytes(path, sample().toRecord() + QByteArray("tail")));
    const auto loaded = StabSettings::load(path);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->referenceCentre, 661.66f);
    StabSettings other = sample();
    other.referenceCentre = 1.0f;
    other.save(path);
    EXPECT_EQ(lumen::test::fileBytes(path), other.toRecord() + QByteArray("tail"));

    EXPECT_THROW(sample().save(dir.filePath("no/such/folder/STAB&FILE.DAT")), lumen::Failure);
}
