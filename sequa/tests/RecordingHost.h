#pragma once

#include "hostlink/testsupport/TestHost.h"

namespace lumen::sequa::test {

// The names Sequa's tests have always used for the one test host.
using lumen::test::HostCall;
using RecordingHost = lumen::test::TestHost;

} // namespace lumen::sequa::test
