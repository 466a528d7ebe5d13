#include "common/core/CsvText.h"

namespace lumen::csvtext {

QString field(const QString &text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\r') &&
        !text.contains(u'\n'))
        return text;
    QString inner = text;
    inner.replace(u'"', QStringLiteral("\"\""));
    return u'"' + inner + u'"';
}

std::optional<QStringList> fields(const QString &line)
{
    QStringList out;
    QString current;
    bool quoted = false;    // inside a quoted field
    bool wasQuoted = false; // the field's closing quote has passed
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c != u'"')
                current += c;
            else if (i + 1 < line.size() && line[i + 1] == u'"')
                current += line[++i];
            else
                quoted = false;
        } else if (c == u',') {
            out << current;
            current.clear();
            wasQuoted = false;
        } else if (c == u'"' && current.isEmpty() && !wasQuoted) {
            quoted = wasQuoted = true;
        } else if (wasQuoted) {
            return std::nullopt;
        } else {
            current += c;
        }
    }
    if (quoted)
        return std::nullopt;
    out << current;
    return out;
}

} // namespace lumen::csvtext
