#pragma once

// The scripted operator is a stand-in of tests and lives with them; this name
// is kept so that tests written against it still build.
#include "common/testsupport/ScriptedOperator.h"
