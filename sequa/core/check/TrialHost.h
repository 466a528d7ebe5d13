#pragma once

#include <QString>
#include <memory>

namespace lumen {
class HostApp;
}

namespace lumen::sequa {

/**
 * A simulated host of its own for a trial play, on the suite's current clock
 * at real speed, whatever the environment says: it saves, prints and writes
 * its report only inside `folder`, even for names that carry a folder.
 */
std::shared_ptr<HostApp> createTrialHost(const QString &folder);

} // namespace lumen::sequa
