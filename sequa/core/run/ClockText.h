#pragma once

#include <QString>

namespace lumen::sequa {

/** "H:MM:SS" of whole seconds (hours unbounded), as the progress and the estimate show times. */
QString clockText(double seconds);

} // namespace lumen::sequa
