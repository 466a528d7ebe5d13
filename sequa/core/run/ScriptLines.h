#pragma once

#include <QString>

namespace lumen::sequa::scriptlines {

/** True for a line the player executes: neither a comment (";" or "#" first) nor only blanks. */
bool isCommand(const QString &line);

} // namespace lumen::sequa::scriptlines
