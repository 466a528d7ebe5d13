#pragma once

#include <QString>

namespace lumen::sequa {

/**
 * How deeply this Sequa was started by the scripts of other Sequa runs
 * (WaitExtProg or CallExtProg naming Sequa again): LUMEN_SEQUA_DEPTH, one
 * more in every level, so a script that starts itself cannot go on for ever.
 */
class NestingDepth
{
public:
    static constexpr int kMaxLevels = 8;
    static constexpr const char *kVariable = "LUMEN_SEQUA_DEPTH";

    /**
     * Counts this program as one more level for the programs it starts.
     * Returns false, changing nothing, when eight levels are already running
     * (or the counter cannot be read): this one must end at once.
     */
    static bool enter();
};

} // namespace lumen::sequa
