#pragma once

namespace lumen::driftlog {

/** What one Append did. */
enum class AppendOutcome
{
    LineWritten,    ///< a drift line was added to the log
    ReferenceTaken, ///< a new reference was taken and the series started
    NotLater,       ///< the measurement is not later than the reference: nothing written
    BadDateTime,    ///< a date or time text could not be read: nothing written
    BadCentre,      ///< the centre text is no usable number: nothing written
    WriteFailed,    ///< the log could not be written
    NothingRead,    ///< no report was read yet: nothing written
    AlreadyLogged,  ///< the same report or measurement is logged already: nothing written
    /** The run played the line that took the reference again: the reference stays, no point. */
    ReplayOfReference,
};

/** True when the log received a line. */
inline bool appended(AppendOutcome outcome)
{
    return outcome == AppendOutcome::LineWritten || outcome == AppendOutcome::ReferenceTaken;
}

} // namespace lumen::driftlog
