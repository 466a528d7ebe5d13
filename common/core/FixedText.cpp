#include "common/core/FixedText.h"

namespace lumen {

QString fixedWidth(QStringView text, int width)
{
    if (width <= 0)
        return QString();
    if (text.size() >= width)
        return text.left(width).toString();
    return text.toString() + QString(width - text.size(), u' ');
}

QString midText(QStringView text, int start, int count)
{
    if (start < 1 || start > text.size() || count == 0)
        return QString();
    const qsizetype from = start - 1;
    if (count < 0 || from + count > text.size())
        return text.mid(from).toString();
    return text.mid(from, count).toString();
}

QString trimBlanks(QStringView text)
{
    qsizetype b = 0, e = text.size();
    while (b < e && text[b] == u' ')
        ++b;
    while (e > b && text[e - 1] == u' ')
        --e;
    return text.mid(b, e - b).toString();
}

} // namespace lumen
