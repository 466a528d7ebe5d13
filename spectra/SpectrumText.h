#pragma once

#include <QString>
#include <QStringList>

namespace lumen::spectrumtext {

/** Ends the reading of a text spectrum: Failure(why). */
[[noreturn]] void malformed(const QString &why);
/** The blank-separated words of a text. */
QStringList wordsOf(const QString &text);
/** A word that must be one number; `what` names it in the failure. */
double numberOf(const QString &word, const char *what);
/** Boxes C0..C3 from the first four coefficients (0 past the end); more than four are warned. */
void putCoefficients(const QStringList &words, class QMap<QString, QString> &boxes,
                     QStringList &warnings);

} // namespace lumen::spectrumtext
