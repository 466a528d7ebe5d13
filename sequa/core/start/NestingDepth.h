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

    enum class Entry
    {
        Entered,
        TooDeep,    ///< eight levels are already running
        Unreadable, ///< the counter is no whole number of at least 0
    };

    /**
     * Counts this program as one more level for the programs it starts.
     * Changes nothing when it refuses: this one must then end at once.
     */
    static Entry enter();
    /** Why a start that enter() refused plays nothing. */
    static QString refusal(Entry entry);
};

} // namespace lumen::sequa
