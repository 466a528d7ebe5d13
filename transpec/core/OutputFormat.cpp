#include "transpec/core/OutputFormat.h"

namespace lumen::transpec::outputformat {

std::optional<OutputFormat> named(const QString &name)
{
    for (const OutputFormat f : {OutputFormat::Ans, OutputFormat::N42, OutputFormat::Csv}) {
        if (name.compare(title(f), Qt::CaseInsensitive) == 0)
            return f;
    }
    return std::nullopt;
}

QString extension(OutputFormat format)
{
    switch (format) {
    case OutputFormat::N42:
        return QStringLiteral("n42");
    case OutputFormat::Csv:
        return QStringLiteral("csv");
    case OutputFormat::Ans:
        break;
    }
    // The name the converter has always given its ANS files.
    return QStringLiteral("Ans");
}

QString title(OutputFormat format)
{
    switch (format) {
    case OutputFormat::N42:
        return QStringLiteral("N42");
    case OutputFormat::Csv:
        return QStringLiteral("CSV");
    case OutputFormat::Ans:
        break;
    }
    return QStringLiteral("ANS");
}

} // namespace lumen::transpec::outputformat
