#pragma once

#include "sequa/core/check/ScriptFinding.h"

#include <QByteArray>
#include <QStringList>

namespace lumen::sequa {

/**
 * The script file as bytes: what the run will read of it. Characters that
 * Windows-1252 cannot hold on a command line (only after a UTF-8 byte-order
 * mark), bytes that are no Windows-1252 character, UTF-8 text without the
 * mark, and lines that the script box (32000 characters) drops.
 */
class ScriptTextCheck
{
public:
    struct Result
    {
        /** The lines the script box keeps, as the run reads them (a byte-order mark left out). */
        QStringList lines;
        ScriptFindings findings;
    };

    static Result check(const QByteArray &bytes);
};

} // namespace lumen::sequa
