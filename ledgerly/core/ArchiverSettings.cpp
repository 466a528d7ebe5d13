#include "ledgerly/core/ArchiverSettings.h"

#include "common/core/ByteRecord.h"
#include "common/core/Failure.h"
#include "common/core/FixedText.h"
#include "common/core/NumberText.h"
#include "common/core/OutsideFile.h"
#include "common/core/Paths.h"
#include "common/core/SafeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace lumen::ledgerly {

namespace {

// The archiver has always left an empty settings file behind when there was
// none; an existing one is only read (a write-protected one still gives its
// settings), and only when it is a regular file of a sane size.
QByteArray openAndRead(const QString &path, QStringList &problems)
{
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink()) {
        QFile(path).open(QIODevice::ReadWrite);
        return {};
    }
    try {
        return lumen::outsidefile::read(path, lumen::outsidefile::kSettingsCap);
    } catch (const lumen::Failure &failure) {
        problems << QStringLiteral("Settings not read, defaults used: ") + failure.description();
        return {};
    }
}

// Empty when the file was replaced, else why not.
QString replaceFile(const QString &path, const QByteArray &bytes)
{
    try {
        lumen::safefile::replace(path, bytes);
        return QString();
    } catch (const lumen::Failure &failure) {
        return QStringLiteral("Settings not saved: ") + failure.description() +
               QStringLiteral(": ") + path;
    }
}

} // namespace

std::optional<ArchivePaths> ArchiverSettings::parsePaths(const QByteArray &record)
{
    if (record.size() != kRecordSize)
        return std::nullopt;
    const lumen::ByteRecordReader reader(record);
    return ArchivePaths{lumen::trimBlanks(reader.textAt(0, kPathWidth)),
                        lumen::trimBlanks(reader.textAt(kPathWidth, kPathWidth))};
}

QByteArray ArchiverSettings::pathsRecord(const ArchivePaths &paths)
{
    lumen::ByteRecordWriter writer(kRecordSize);
    writer.putText(0, kPathWidth, lumen::trimBlanks(paths.databasePath));
    writer.putText(kPathWidth, kPathWidth, lumen::trimBlanks(paths.reportPath));
    return writer.bytes();
}

void ArchiverSettings::parseWidths(const QByteArray &text, Widths &widths)
{
    static const QRegularExpression separators(QStringLiteral("\\r\\n|\\r|\\n|,"));
    QString content = QString::fromLatin1(text);
    // A final line end closes the last value; it does not start another.
    while (content.endsWith(u'\n') || content.endsWith(u'\r'))
        content.chop(1);
    if (lumen::trimBlanks(content).isEmpty())
        return;
    const QStringList fields = content.split(separators);
    for (int slot = 0; slot < kStoredWidths && slot < fields.size(); ++slot) {
        try {
            const QString field = lumen::trimBlanks(fields.at(slot));
            widths[slot] = field.isEmpty() ? 0 : lumen::strictInt16(field);
        } catch (const lumen::Failure &) {
            widths[slot] = 0;
        }
    }
}

QByteArray ArchiverSettings::widthsText(const Widths &widths)
{
    QByteArray text;
    for (int slot = 0; slot < kStoredWidths; ++slot)
        text += (lumen::numberToText(widths[slot]) + QStringLiteral(" \r\n")).toLatin1();
    return text;
}

QStringList ArchiverSettings::load(const QString &folder, ArchivePaths &paths, Widths &widths)
{
    QStringList problems;
    if (const auto stored =
            parsePaths(openAndRead(lumen::joinPath(folder, pathsFileName()), problems)))
        paths = *stored;
    parseWidths(openAndRead(lumen::joinPath(folder, widthsFileName()), problems), widths);
    return problems;
}

QStringList ArchiverSettings::save(const QString &folder, const ArchivePaths &paths,
                                   const Widths &widths)
{
    QStringList problems;
    for (const QString &problem :
         {replaceFile(lumen::joinPath(folder, pathsFileName()), pathsRecord(paths)),
          replaceFile(lumen::joinPath(folder, widthsFileName()), widthsText(widths))}) {
        if (!problem.isEmpty())
            problems << problem;
    }
    return problems;
}

} // namespace lumen::ledgerly
