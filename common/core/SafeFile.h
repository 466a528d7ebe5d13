#pragma once

#include <QByteArray>
#include <QString>

namespace lumen::safefile {

/**
 * Replaces the file at `path` with `bytes`: a temporary file in the same
 * folder is written, flushed and renamed over the old one. A failure at any
 * step leaves the old file as it was and no temporary file behind, and throws
 * Failure("Could not write file: " + path + " (" + the system's reason + ")").
 * When `path` is a symbolic link, the file it points to is replaced and the
 * link stays. The temporary file is named as PartialFiles.h says; one that a
 * killed replace left in the folder is removed once it is a minute old.
 */
void replace(const QString &path, const QByteArray &bytes);

/**
 * Appends `bytes` to the file at `path`, creating it when absent: all of them
 * or none. On a failed or short write the file is cut back to its length
 * before the append (a file the append created is removed), and Failure is
 * thrown as for replace(). Any number of processes may append to one file at
 * once: each append lands whole, after every append that ended before it.
 */
void append(const QString &path, const QByteArray &bytes);

} // namespace lumen::safefile
