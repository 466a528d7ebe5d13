#pragma once

#include <QByteArray>
#include <QString>

namespace lumen::partialfiles {

/**
 * The temporary files of safefile::replace: ".NAME.lumen-partial-XXXXXX" in
 * the folder of NAME. A replace that is killed before its rename leaves one
 * behind; the name says what it is, and sweep() removes it later.
 */

/** The mkstemp template for a replace of `fileName` in `folder` (bytes, as the system names it). */
QByteArray templateFor(const QByteArray &folder, const QByteArray &fileName);

/** Whether `fileName` has the shape templateFor() gives once its X's are filled in. */
bool isPartialName(const QByteArray &fileName);

/** Age from which a partial file is taken as left over: no replace takes this long. */
inline constexpr int kLeftoverSeconds = 60;

/**
 * Removes the regular files of `folder` with a partial name last changed
 * kLeftoverSeconds or more before `made`, a partial file the caller has just
 * made there (its path; it is never removed). The age is measured against
 * that file's time, read the same way as the others': a process clock that
 * differs from the file system's (another machine's, one set wrong or faked)
 * would otherwise take a file that another process is writing for a
 * leftover. One process sweeps a folder at most once in kLeftoverSeconds, so
 * that a batch writing thousands of files into one folder does not list it
 * thousands of times. Failures are ignored: a leftover that cannot be
 * removed now is tried again later.
 */
void sweep(const QByteArray &folder, const QByteArray &made);

} // namespace lumen::partialfiles
