#pragma once

#include <QString>
#include <QStringList>

namespace lumen {

/**
 * Text files at every file boundary: Windows-1252, CR LF written, CR LF, CR
 * or LF accepted on reading. Reading takes regular files only, at most
 * outsidefile::kTextCap bytes; writing replaces the file whole and appending
 * adds all the lines or none (see SafeFile.h). Failures throw Failure with a
 * description that names the path.
 */
namespace textfile {

/** Every line of the file, without line ends. A final line end adds no empty line. */
QStringList readLines(const QString &path);
/** The whole file as text, line ends kept. */
QString readAll(const QString &path);
/** Replaces the file with these lines, each ended by CR LF. */
void writeLines(const QString &path, const QStringList &lines);
/** Appends these lines, each ended by CR LF; creates the file when absent. */
void appendLines(const QString &path, const QStringList &lines);
/** Replaces the file with exactly this text (no line end added). */
void writeAll(const QString &path, const QString &text);

/** Splits text into lines at CR LF, CR or LF. A final line end adds no empty line. */
QStringList splitLines(const QString &text);

} // namespace textfile
} // namespace lumen
