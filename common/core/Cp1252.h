#pragma once

#include <QByteArray>
#include <QString>

namespace lumen {

/** Single-byte Windows-1252, the code page of every text file the suite reads or writes. */
QString fromCp1252(QByteArrayView bytes);
/** Characters outside the code page become "?". */
QByteArray toCp1252(QStringView text);
/** The characters of the text that Windows-1252 cannot hold, each once, in order. */
QString outsideCp1252(QStringView text);

} // namespace lumen
