#include "common/core/ByteRecord.h"
#include "common/core/Cp1252.h"
#include "common/core/Failure.h"
#include "common/core/FixedText.h"
#include "common/core/TextFile.h"
#include "common/testsupport/TestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lumen;

TEST(FixedText, CutsAndPads)
{
    EXPECT_EQ(fixedWidth(u"abc", 5), QStringLiteral("abc  "));
    EXPECT_EQ(fixedWidth(u"abcdef", 4), QStringLiteral("abcd"));
    EXPECT_EQ(fixedWidth(u"", 0), QString());
    EXPECT_EQ(midText(u"ID: sample", 4, 72), QStringLiteral(" sample"));
    EXPECT_EQ(midText(u"abc", 5, 2), QString());
    EXPECT_EQ(midText(u"abcdef", 2, 3), QStringLiteral("bcd"));
    EXPECT_EQ(trimBlanks(u"  a b  "), QStringLiteral("a b"));
    EXPECT_EQ(trimBlanks(u"\ta "), QStringLiteral("\ta"));
}

TEST(Cp1252, RoundTripsEveryByte)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    EXPECT_EQ(toCp1252(fromCp1252(all)), all);
    EXPECT_EQ(fromCp1252("\x80\xE9"), QStringLiteral("\u20AC\u00E9"));
    EXPECT_EQ(toCp1252(u"\u0100"), QByteArray("?"));
}

TEST(TextFile, WritesCrLfAndReadsAnyLineEnd)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("t.txt");
    textfile::writeLines(path, {QStringLiteral("caf\u00E9"), QString()});
    EXPECT_EQ(test::fileBytes(path), QByteArray("caf\xE9\r\n\r\n"));
    textfile::appendLines(path, {QStringLiteral("x")});
    EXPECT_EQ(textfile::readLines(path),
              (QStringList{QStringLiteral("caf\u00E9"), QString(), QStringLiteral("x")}));
    EXPECT_EQ(textfile::splitLines(QStringLiteral("a\rb\nc\r\nd")),
              (QStringList{"a", "b", "c", "d"}));
    EXPECT_THROW(textfile::readLines(dir.filePath("missing.txt")), Failure);
    EXPECT_THROW(textfile::writeLines(dir.filePath("no/such/folder.txt"), {}), Failure);
}

TEST(ByteRecord, FieldsLandAtTheirOffsetsLittleEndian)
{
    ByteRecordWriter w(16);
    w.putInt16(0, -2);
    w.putInt32(2, 0x01020304);
    w.putFloat(6, 0.5f);
    w.putText(10, 6, u"ab");
    EXPECT_EQ(w.bytes(), QByteArray::fromHex("feff040302010000003f61622020202020").left(16));
    EXPECT_THROW(w.putInt32(14, 1), Failure);

    ByteRecordReader r(w.bytes());
    EXPECT_EQ(r.int16At(0), -2);
    EXPECT_EQ(r.int32At(2), 0x01020304);
    EXPECT_EQ(r.floatAt(6), 0.5f);
    EXPECT_EQ(r.textAt(10, 6), QStringLiteral("ab    "));
    EXPECT_FALSE(r.has(15, 2));
    EXPECT_THROW(r.int16At(15), Failure);
    EXPECT_THROW(r.int32At(-1), Failure);
}

TEST(ByteRecord, SinglePrecisionBitPatterns)
{
    ByteRecordWriter w(16);
    w.putFloat(0, 0.7f);
    w.putFloat(4, 0.001f);
    w.putFloat(8, 2.0f);
    w.putFloat(12, 0.5f);
    EXPECT_EQ(w.bytes().toHex(), QByteArray("3333333f6f12833a000000400000003f"));
}
