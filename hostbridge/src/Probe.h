#pragma once

#include <windows.h>

#include <ole2.h>

#include <cstdio>

namespace bridge {

/**
 * Prints, for every method of the list, the parameter and result types the
 * object's type information declares beside those the bridge sends, marking
 * each mismatch. True when all agree.
 */
bool probeTypes(IDispatch *object, std::FILE *out);

} // namespace bridge
