#include "ledgerly/core/ColumnCapacity.h"

#include "common/core/Failure.h"
#include "common/core/NumberText.h"
#include "ledgerly/core/ResultsDatabase.h"

namespace lumen::ledgerly {

int ColumnCapacity::width(const QString &column)
{
    if (column == u"File Name")
        return 255;
    if (column == u"ID Text")
        return 128;
    if (column == u"Date & time")
        return 30;
    if (column == u"Sample Date")
        return 24;
    return ResultsDatabase::kResultColumnSize;
}

QString ColumnCapacity::refusal(const QString &column, const QVariant &value)
{
    const QString text = value.isNull() ? QString() : value.toString();
    if (text.isEmpty())
        return QString();
    if (column == u"idxRec#") {
        try {
            lumen::strictInt16(text);
        } catch (const lumen::Failure &) {
            return QStringLiteral("\"idxRec#\" takes a whole number from -32768 to 32767, not \"") +
                   text + u'"';
        }
        return QString();
    }
    // Results and times are numbers: a text there would make the wide view
    // say what the long view cannot hold.
    const bool isText = column == u"File Name" || column == u"ID Text" ||
                        column == u"Date & time" || column == u"Sample Date";
    if (!isText && !lumen::isNumberText(text))
        return QStringLiteral("\"%1\" takes a number (or nothing), not \"%2\"").arg(column, text);
    const int most = width(column);
    if (text.size() > most)
        return QStringLiteral("\"%1\" takes at most %2 characters; \"%3\" has %4")
            .arg(column)
            .arg(most)
            .arg(text)
            .arg(text.size());
    return QString();
}

} // namespace lumen::ledgerly
