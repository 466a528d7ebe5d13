#pragma once

#include "sequa/core/check/ScriptCheckPlaces.h"
#include "sequa/core/check/ScriptFinding.h"
#include "sequa/core/commands/CommandTable.h"

#include <memory>

namespace lumen::sequa {

class CommandRunner;
class MainModel;

/**
 * What the arguments of one recognised line will do when it runs, read with
 * the commands' own argument rules: numbers that overflow or are no number
 * where one is demanded, spectrum numbers that name no memory, the missing
 * comma of the commands that need one, files that are not there now and
 * programs a start would not find. Nothing is executed.
 */
class ScriptArgumentCheck
{
public:
    explicit ScriptArgumentCheck(ScriptCheckPlaces places);
    ~ScriptArgumentCheck();

    /** Adds the findings of one line (`trimmedLine` matched `row`). */
    void check(const CommandRow &row, const QString &trimmedLine, int lineNumber,
               ScriptFindings &findings) const;

private:
    ScriptCheckPlaces m_places;
    // The argument rules live on a command context, which wants a program to hang on.
    std::unique_ptr<MainModel> m_model;
    std::unique_ptr<CommandRunner> m_runner;
};

} // namespace lumen::sequa
