#include "transpec/core/OutputFormat.h"

#include <QFileInfo>
#include <array>

namespace lumen::transpec::outputformat {

namespace {
struct Names
{
    OutputFormat format;
    const char *title;
    const char *extension;
};
// "Ans" is the name the converter has always given its ANS files.
constexpr std::array<Names, 3> kNames{{{OutputFormat::Ans, "ANS", "Ans"},
                                       {OutputFormat::N42, "N42", "n42"},
                                       {OutputFormat::Csv, "CSV", "csv"}}};

const Names &namesOf(OutputFormat format)
{
    for (const Names &n : kNames) {
        if (n.format == format)
            return n;
    }
    return kNames.front();
}
} // namespace

std::optional<OutputFormat> named(const QString &name)
{
    for (const Names &n : kNames) {
        if (name.compare(QLatin1String(n.title), Qt::CaseInsensitive) == 0)
            return n.format;
    }
    return std::nullopt;
}

QString extension(OutputFormat format)
{
    return QLatin1String(namesOf(format).extension);
}

QString title(OutputFormat format)
{
    return QLatin1String(namesOf(format).title);
}

OutputFormat ofPath(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix();
    if (suffix.compare(u"n42", Qt::CaseInsensitive) == 0 ||
        suffix.compare(u"xml", Qt::CaseInsensitive) == 0)
        return OutputFormat::N42;
    if (suffix.compare(u"csv", Qt::CaseInsensitive) == 0)
        return OutputFormat::Csv;
    return OutputFormat::Ans;
}

} // namespace lumen::transpec::outputformat
