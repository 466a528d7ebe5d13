#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace lumen::csvtext {

/**
 * One field of a comma-separated table as RFC 4180 has it: as it stands, or
 * quoted with its quotes doubled when it holds a comma, a quote, CR or LF.
 */
QString field(const QString &text);

/**
 * The fields of one line of such a table, quotes taken off and doubled
 * quotes made single; nothing when a quoted field is left open or text
 * follows its closing quote.
 */
std::optional<QStringList> fields(const QString &line);

} // namespace lumen::csvtext
