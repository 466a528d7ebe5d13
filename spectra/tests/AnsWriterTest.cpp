#include "spectra/AnsWriter.h"
#include "common/core/Failure.h"
#include "common/testsupport/TestSupport.h"
#include "spectra/AnsReader.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <set>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace lumen;

namespace {

std::uint16_t u16(const QByteArray &b, int at)
{
    return qFromLittleEndian<std::uint16_t>(b.constData() + at);
}
std::int16_t i16(const QByteArray &b, int at)
{
    return qFromLittleEndian<std::int16_t>(b.constData() + at);
}
std::uint32_t u32(const QByteArray &b, int at)
{
    return qFromLittleEndian<std::uint32_t>(b.constData() + at);
}
double f64(const QByteArray &b, int at)
{
    double d;
    std::memcpy(&d, b.constData() + at, 8);
    return d;
}

AnsHeader sampleHeader()
{
    AnsHeader h;
    h.setSpectrumId(QStringLiteral("ABCDE"));
    h.setMcaStart(37064.5);
    h.setRealTime(310.5);
    h.setLiveTime(300.0);
    h.setGroupSize(1024);
    h.setCoefficient(0, 0.5f);
    h.setCoefficient(1, 0.25f);
    h.setCoefficient(2, 1e-6f);
    h.setSampleSize(1.5f);
    h.setSampleUnits(QStringLiteral("kg"));
    h.setSampleDateTime(37060.25);
    return h;
}

// Byte ranges the converter fills; every other header byte must be zero.
std::set<int> writtenOffsets()
{
    std::set<int> s;
    auto add = [&s](int at, int width) {
        for (int i = 0; i < width; ++i)
            s.insert(at + i);
    };
    add(0, 2);
    add(2, 72);
    add(80, 8);
    add(96, 16);
    add(252, 4);
    add(416, 4);
    add(424, 16);
    add(472, 8);
    add(624, 2);
    add(834, 6);
    add(844, 6);
    add(856, 4);
    add(908, 4);
    add(916, 12);
    add(1010, 2);
    return s;
}

} // namespace

TEST(AnsWriter, HeaderFieldsAndFixedValuesSitAtTheirOffsets)
{
    const std::vector<std::int32_t> counts(1024, 7);
    const QByteArray b = AnsWriter::toBytes(sampleHeader(), counts);
    ASSERT_EQ(b.size(), 5632);

    EXPECT_EQ(i16(b, 0), 2);
    EXPECT_EQ(b.mid(2, 72), QByteArray("ABCDE") + QByteArray(67, ' '));
    EXPECT_DOUBLE_EQ(f64(b, 80), 37064.5);
    EXPECT_DOUBLE_EQ(f64(b, 96), 310.5);
    EXPECT_DOUBLE_EQ(f64(b, 104), 300.0);
    EXPECT_EQ(i16(b, 252), 1024);
    EXPECT_EQ(i16(b, 254), 1024);
    EXPECT_EQ(i16(b, 1010), 1023);
    EXPECT_EQ(u16(b, 416), 0xFFFF);
    EXPECT_EQ(i16(b, 418), 1);
    EXPECT_EQ(u32(b, 472), 0x3F333333u);
    EXPECT_EQ(u32(b, 476), 0x3A83126Fu);
    EXPECT_EQ(i16(b, 624), 2);
    EXPECT_EQ(i16(b, 834), 50);
    EXPECT_EQ(i16(b, 836), 500);
    EXPECT_EQ(i16(b, 838), 1);
    EXPECT_EQ(u32(b, 844), 0x40000000u);
    EXPECT_EQ(i16(b, 848), 32);
    EXPECT_EQ(u32(b, 856), 0x3F000000u);
    EXPECT_EQ(b.mid(916, 4), QByteArray("kg  "));
    EXPECT_DOUBLE_EQ(f64(b, 920), 37060.25);

    const std::set<int> written = writtenOffsets();
    for (int i = 0; i < AnsHeader::kSize; ++i) {
        if (!written.count(i)) {
            ASSERT_EQ(b[i], '\0') << "reserved byte " << i;
        }
    }
    for (int i = 0; i < 1024; ++i)
        ASSERT_EQ(qFromLittleEndian<std::int32_t>(b.constData() + 1536 + 4 * i), 7);
}

TEST(AnsWriter, CalibrationFlagFollowsTheSlope)
{
    AnsHeader h = sampleHeader();
    h.setCoefficient(1, 0.0f);
    EXPECT_EQ(i16(h.toBytes(), 416), 0);
    h.setCoefficient(1, -0.25f);
    EXPECT_EQ(i16(h.toBytes(), 416), 0);
    h.setCoefficient(1, 0.25f);
    EXPECT_EQ(u16(h.toBytes(), 416), 0xFFFF);
}

TEST(AnsWriter, TextFieldsAreCutPaddedOrLeftZero)
{
    AnsHeader h;
    QByteArray b = h.toBytes();
    EXPECT_EQ(b.mid(2, 72), QByteArray(72, '\0')) << "an ID never set stays zero bytes";
    EXPECT_EQ(b.mid(916, 4), QByteArray(4, '\0'));
    h.setSpectrumId(QString(80, u'x') + QStringLiteral("TAIL"));
    h.setSampleUnits(QStringLiteral("grams"));
    b = h.toBytes();
    EXPECT_EQ(b.mid(2, 72), QByteArray(72, 'x'));
    EXPECT_EQ(b.mid(916, 4), QByteArray("gram"));
    EXPECT_EQ(b[74], '\0');
}

TEST(AnsWriter, ChannelsBeyondTheStoreAreNotWrittenAndNegativesKeepTheirSign)
{
    std::vector<std::int32_t> counts(20000, 1);
    counts[0] = -5;
    counts[16383] = 2147483647;
    const QByteArray b = AnsWriter::toBytes(AnsHeader(), counts);
    EXPECT_EQ(b.size(), 1536 + 4 * 16384);
    EXPECT_EQ(qFromLittleEndian<std::int32_t>(b.constData() + 1536), -5);
    EXPECT_EQ(qFromLittleEndian<std::int32_t>(b.constData() + 1536 + 4 * 16383), 2147483647);
    EXPECT_EQ(AnsWriter::toBytes(AnsHeader(), {}).size(), 1536);
}

TEST(AnsWriter, WritingTwiceReplacesTheFileAndFailuresAreReported)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.ans"));
    AnsWriter::writeFile(path, sampleHeader(), std::vector<std::int32_t>(1024, 1));
    AnsWriter::writeFile(path, sampleHeader(), std::vector<std::int32_t>(256, 2));
    EXPECT_EQ(lumen::test::fileBytes(path).size(), 1536 + 1024);

    try {
        AnsWriter::writeFile(dir.path(), sampleHeader(), {});
        FAIL() << "writing over a folder must fail";
    } catch (const lumen::Failure &f) {
        EXPECT_EQ(f.description(),
                  QStringLiteral("Could not write file: ") + dir.path() + " (is a folder)");
    }
    EXPECT_THROW(
        AnsWriter::writeFile(dir.filePath(QStringLiteral("no/such/x.ans")), sampleHeader(), {}),
        lumen::Failure);
    EXPECT_EQ(lumen::test::fileBytes(path).size(), 1536 + 1024);
}

TEST(AnsReader, ReadsBackWhatWasWritten)
{
    const std::vector<std::int32_t> counts = {0, 1, -1, 123456, 2147483647};
    const AnsReader::Spectrum s = AnsReader::read(AnsWriter::toBytes(sampleHeader(), counts));
    EXPECT_EQ(s.channels, counts);
    EXPECT_EQ(s.header.toBytes(), sampleHeader().toBytes());
    EXPECT_THROW(AnsReader::read(QByteArray(1535, '\0')), lumen::Failure);
}

TEST(AnsWriter, AWriteBeyondTheFileSizeLimitLeavesTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.ans"));
    AnsWriter::writeFile(path, sampleHeader(), std::vector<std::int32_t>(16, 7));
    const QByteArray old = lumen::test::fileBytes(path);

    // The limit is set in a child so that it cannot touch the test process.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        try {
            AnsWriter::writeFile(path, sampleHeader(), std::vector<std::int32_t>(16384, 1));
        } catch (const lumen::Failure &f) {
            ::_exit(f.description().contains(QStringLiteral("too large")) ? 0 : 2);
        }
        ::_exit(1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the failure must be reported with the system's reason";
    EXPECT_EQ(lumen::test::fileBytes(path), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"a.ans"});
}
