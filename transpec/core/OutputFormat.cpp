#include "transpec/core/OutputFormat.h"

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

} // namespace lumen::transpec::outputformat
