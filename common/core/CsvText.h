#pragma once

#include <QString>

namespace lumen::csvtext {

/**
 * One field of a comma-separated table as RFC 4180 has it: as it stands, or
 * quoted with its quotes doubled when it holds a comma, a quote, CR or LF.
 */
QString field(const QString &text);

} // namespace lumen::csvtext
