#include "sequa/core/run/PlayFileReader.h"
#include "common/core/Cp1252.h"
#include "common/core/Failure.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumen::sequa::test {
namespace {

class PlayFileReaderTest : public ::testing::Test
{
protected:
    QString write(const QByteArray &bytes)
    {
        const QString path = m_folder.filePath(QStringLiteral("play.tmp"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        return path;
    }

    QStringList readAll(PlayFileReader &reader)
    {
        QStringList lines;
        while (!reader.atEnd())
            lines.append(reader.readLine());
        return lines;
    }

    QTemporaryDir m_folder;
};

TEST_F(PlayFileReaderTest, LinesEndAtCrCrLfOrLfAndAFinalEndAddsNoLine)
{
    PlayFileReader reader;
    reader.open(write("a\r\nb\rc\nd\r\n\r\nlast"));
    EXPECT_EQ(readAll(reader), (QStringList{"a", "b", "c", "d", "", "last"}));
    reader.open(write("one\r\n"));
    EXPECT_EQ(readAll(reader), QStringList{"one"});
    reader.open(write(""));
    EXPECT_TRUE(reader.atEnd());
    EXPECT_THROW(reader.readLine(), Failure);
}

TEST_F(PlayFileReaderTest, ReadsWindows1252AndLongFilesAcrossItsBuffer)
{
    // A CR LF pair split by the 64 KiB read boundary is still one line end.
    QByteArray bytes(65535, 'x');
    bytes += "\r\n\xB5Sv\r\n";
    PlayFileReader reader;
    reader.open(write(bytes));
    const QStringList lines = readAll(reader);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].size(), 65535);
    EXPECT_EQ(lines[1], QString::fromUtf8("\u00B5Sv"));
}

TEST_F(PlayFileReaderTest, RewindReadsFromTheStartAgainEvenAfterClose)
{
    PlayFileReader reader;
    reader.open(write("1\r\n2\r\n3\r\n"));
    EXPECT_EQ(reader.readLine(), "1");
    EXPECT_EQ(reader.readLine(), "2");
    reader.rewind();
    EXPECT_EQ(readAll(reader), (QStringList{"1", "2", "3"}));
    reader.close();
    EXPECT_TRUE(reader.atEnd());
    reader.rewind();
    EXPECT_EQ(reader.readLine(), "1");

    reader.close();
    QFile::remove(m_folder.filePath(QStringLiteral("play.tmp")));
    EXPECT_THROW(reader.rewind(), Failure) << "a deleted play file cannot be rewound";
    PlayFileReader never;
    EXPECT_THROW(never.rewind(), Failure);
}

} // namespace
} // namespace lumen::sequa::test
