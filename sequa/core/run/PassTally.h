#pragma once

namespace lumen::sequa {

/**
 * What a run had used and failed at one moment, as a resume needs to take
 * it up again: the operator's answers asked for, the lines that gave an
 * error reply and the programs that ended with a failure.
 */
struct PassTally
{
    int answers = 0;
    int failedLines = 0;
    int failedPrograms = 0;

    bool operator==(const PassTally &) const = default;
};

} // namespace lumen::sequa
