#pragma once

#include <QString>
#include <optional>

namespace lumen::transpec {

/** The formats `--convert` writes (`--to`). */
enum class OutputFormat
{
    Ans,
    N42,
    Csv
};

namespace outputformat {

/** "ans", "n42" or "csv" (any case); nothing for another name. */
std::optional<OutputFormat> named(const QString &name);
/** The extension of an output named after its input: "Ans", "n42", "csv". */
QString extension(OutputFormat format);
/** "ANS", "N42", "CSV", as messages name the format. */
QString title(OutputFormat format);
/** The format a chosen output name asks for: .n42 or .xml N42, .csv CSV, anything else ANS. */
OutputFormat ofPath(const QString &path);

} // namespace outputformat
} // namespace lumen::transpec
