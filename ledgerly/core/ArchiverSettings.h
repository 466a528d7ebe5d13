#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>

namespace lumen::ledgerly {

/** The two paths the archiver keeps between runs. */
struct ArchivePaths
{
    QString databasePath;
    QString reportPath;
};

/**
 * The settings files beside the executable: ARC&FILE.DAT, one 144-byte
 * record of two blank-padded 72-character paths, and ArcSiz&FILE.DAT, the
 * viewer's 100 column widths (twips) as text, one per line.
 */
class ArchiverSettings
{
public:
    static constexpr int kPathWidth = 72;
    static constexpr int kRecordSize = 2 * kPathWidth;
    static constexpr int kWidthSlots = 101; ///< slots 0..100; 0..99 are kept in the file
    static constexpr int kStoredWidths = 100;
    using Widths = std::array<std::int16_t, kWidthSlots>;

    static QString pathsFileName() { return QStringLiteral("ARC&FILE.DAT"); }
    static QString widthsFileName() { return QStringLiteral("ArcSiz&FILE.DAT"); }

    /** The paths of a record, trimmed; nothing unless it is exactly 144 bytes. */
    static std::optional<ArchivePaths> parsePaths(const QByteArray &record);
    /** The 144-byte record: each path blank-padded or cut to 72 characters. */
    static QByteArray pathsRecord(const ArchivePaths &paths);

    /**
     * Widths in slot order from text whose values are separated by line ends
     * or commas; reading stops at the end of the text. A value that is not a
     * whole number in the 16-bit range leaves its slot at 0.
     */
    static void parseWidths(const QByteArray &text, Widths &widths);
    /** Slots 0..99, one per line: blank for the sign's place, the value, one blank, CR LF. */
    static QByteArray widthsText(const Widths &widths);

    /**
     * Start-up: reads both files in `folder`, making empty ones where they are
     * missing (a folder that refuses that just leaves the defaults). `paths`
     * changes only for a 144-byte record; `widths` only where the file has values.
     * A file that is no regular file or is too large is not read: the returned
     * texts say which, and the defaults stay.
     */
    static QStringList load(const QString &folder, ArchivePaths &paths, Widths &widths);
    /**
     * Exit: replaces both files whole (see SafeFile.h). Returns one text per
     * file that could not be written, saying why; empty when both were.
     */
    static QStringList save(const QString &folder, const ArchivePaths &paths, const Widths &widths);
};

} // namespace lumen::ledgerly
