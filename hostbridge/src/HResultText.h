#pragma once

#include <string>

namespace bridge {

/**
 * "0x80020005 DISP_E_TYPEMISMATCH (type mismatch)": an HRESULT with its name
 * and meaning from our own table, since Wine has no message texts for them.
 */
std::string describeHResult(long hr);

/** True when the HRESULT says the host's process is gone or cut off. */
bool hostIsGone(long hr);
/** True when the host refused the call without running it (busy in a dialog). */
bool hostIsBusy(long hr);

} // namespace bridge
