#pragma once

#include "hostlink/HostApp.h"

#include <QString>
#include <memory>

namespace lumen::sequa {

/**
 * Creates the host object for an automation identifier ("LmnPro.clsLmn").
 * By default the simulated host of this process, the same object for every
 * caller, so that connecting again finds the host as it was left; with
 * LUMEN_HOST=tcp://HOST:PORT a client of a host bridge. Throws Failure when
 * it cannot be created.
 */
std::shared_ptr<HostApp> createHostAppObject(const QString &identifier);

} // namespace lumen::sequa
