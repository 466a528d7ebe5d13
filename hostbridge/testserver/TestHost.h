#pragma once

// The automation object of the project's test host: every method of the
// host's table, each refusing an argument of any other type than the
// table's, with just enough state for a script to play.
//
// Test hooks, chosen by the texts the caller passes:
//   "!quit"          the host's process ends inside the call (the host goes away)
//   "!slow"          the call takes 1.5 seconds
//   "!busy"          the call is rejected as by a host busy in a dialog
//   "!busy-once"     the call is rejected once, then made when asked again
//   any text holding "FAULTY"   the call raises an automation exception
// and by the environment the host starts with:
//   LUMEN_TESTHOST_MISDECLARE=1  SetLivePreset declares and wants float*, not double*

#include <windows.h>

#include <ole2.h>

namespace testhost {

/** A new object; `released` runs when its last reference goes. */
IDispatch *createObject(void (*released)());

} // namespace testhost
