#pragma once

#include <QByteArray>
#include <QString>

namespace lumen::outsidefile {

/** Most bytes read of a results report or a stored spectrum. */
inline constexpr qint64 kReportCap = 64LL * 1024 * 1024;
inline constexpr qint64 kSpectrumCap = 64LL * 1024 * 1024;
/** Most bytes read of a script, a value file or another text file. */
inline constexpr qint64 kTextCap = 16LL * 1024 * 1024;
/** Most bytes read of a settings record. */
inline constexpr qint64 kSettingsCap = 1024 * 1024;

/**
 * The bytes of a file that another program or person made. Only a regular
 * file is read (a device, FIFO or folder is refused without blocking), at
 * most `cap` bytes, every read checked. Throws Failure with a description
 * that names the path: "File not found: PATH", "Not a regular file: PATH",
 * "File too large (more than N bytes): PATH", "Cannot read PATH: REASON".
 */
QByteArray read(const QString &path, qint64 cap);

} // namespace lumen::outsidefile
