#pragma once

#include <QByteArrayView>
#include <QString>

namespace lumen::spectrumkind {

/**
 * The spectrum format a file's first bytes look like, whatever its name:
 * "CHN" (a binary header of type -1 and a channel count within the store),
 * "SPC" (a binary first record of information type 1 whose data record
 * lies within records 1 to 256), "SPE" (text whose first line opens a
 * "$NAME:" section), "N42" (XML naming an N42 root); empty for anything else.
 */
QString of(QByteArrayView bytes);

/** "it looks like a CHN spectrum (named .chn, it is read)" for a kind of(). */
QString looksLike(const QString &kind);

/**
 * For a refusal of a file read as `format`: "; " and looksLike() when the
 * bytes look like another format, else empty.
 */
QString hintBeyond(QByteArrayView bytes, const QString &format);

} // namespace lumen::spectrumkind
