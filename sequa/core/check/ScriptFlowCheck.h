#pragma once

#include "sequa/core/check/ScriptFinding.h"

#include <QStringList>

namespace lumen::sequa {

class ScriptArgumentCheck;

/**
 * The script line by line as the player meets it: lines no keyword row
 * matches (with the keyword meant, when a slip away), commands before the
 * first Connect line, loops that do not pair or nest deeper than ten, and
 * AutoID or AutoSaveSpc outside a loop. Each recognised line also goes to
 * the argument check.
 */
class ScriptFlowCheck
{
public:
    /** Most loops open at once. */
    static constexpr int kMostOpenLoops = 10;

    static ScriptFindings check(const QStringList &lines, const ScriptArgumentCheck &arguments);
};

} // namespace lumen::sequa
