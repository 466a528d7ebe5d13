#include "spectra/CsvReader.h"

#include "common/core/Failure.h"
#include "spectra/CsvWriter.h"

#include <QRegularExpression>
#include <QStringList>

namespace lumen {

namespace {

[[noreturn]] void refuse(qsizetype line, const QString &why)
{
    throw Failure(QStringLiteral("CSV line %1: %2").arg(line).arg(why));
}

// The fields of one line; a quoted field may hold commas and doubled quotes.
QStringList fieldsOf(const QString &line, qsizetype number)
{
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == u'"' && i + 1 < line.size() && line[i + 1] == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"' && field.isEmpty()) {
            quoted = true;
        } else if (c == u',') {
            fields << field;
            field.clear();
        } else {
            field += c;
        }
    }
    if (quoted)
        refuse(number, QStringLiteral("a quote is not closed"));
    fields << field;
    return fields;
}

} // namespace

CsvReader::Table CsvReader::read(QByteArrayView bytes)
{
    QStringList lines = QString::fromUtf8(bytes).split(QStringLiteral("\r\n"));
    if (lines.isEmpty() || !lines.last().isEmpty())
        refuse(lines.size(), QStringLiteral("the table does not end with a line end"));
    lines.removeLast();
    if (lines.isEmpty())
        refuse(1, QStringLiteral("no header line"));

    Table table;
    const QStringList header = fieldsOf(lines.first(), 1);
    static const QRegularExpression energyColumn(QStringLiteral("^energy \\((.+)\\)$"));
    const QRegularExpressionMatch energy =
        header.size() == 3 ? energyColumn.match(header[1]) : QRegularExpressionMatch();
    const bool withEnergy = energy.hasMatch();
    if (header.first() != CsvWriter::kChannelColumn || header.last() != CsvWriter::kCountsColumn ||
        (header.size() == 3 && !withEnergy) || header.size() < 2 || header.size() > 3)
        refuse(1, QStringLiteral("the header \"%1\" is not channel,[energy (unit),]counts")
                      .arg(lines.first()));
    table.energyUnit = energy.captured(1);

    table.counts.reserve(std::size_t(lines.size() - 1));
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList f = fieldsOf(lines[i], i + 1);
        if (f.size() != header.size())
            refuse(i + 1, QStringLiteral("%1 fields, not %2").arg(f.size()).arg(header.size()));
        bool ok = false;
        if (f.first().toLongLong(&ok) != i - 1 || !ok)
            refuse(i + 1, QStringLiteral("the channel \"%1\" is not %2").arg(f.first()).arg(i - 1));
        const int count = f.last().toInt(&ok);
        if (!ok)
            refuse(i + 1,
                   QStringLiteral("the counts \"%1\" are no 32-bit whole number").arg(f.last()));
        table.counts.push_back(count);
        if (withEnergy) {
            const double e = f[1].toDouble(&ok);
            if (!ok)
                refuse(i + 1, QStringLiteral("the energy \"%1\" is no number").arg(f[1]));
            table.energies.push_back(e);
        }
    }
    return table;
}

} // namespace lumen
