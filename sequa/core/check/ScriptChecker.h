#pragma once

#include "sequa/core/check/ScriptCheckPlaces.h"
#include "sequa/core/check/ScriptFinding.h"

#include <QByteArray>
#include <QStringList>

namespace lumen::sequa {

/** Everything that can be told about a script without playing it. */
class ScriptChecker
{
public:
    struct Result
    {
        QStringList lines;       ///< the lines a run plays (what the script box keeps)
        ScriptFindings findings; ///< in line order
    };

    static Result check(const QByteArray &bytes, const ScriptCheckPlaces &places);
};

} // namespace lumen::sequa
