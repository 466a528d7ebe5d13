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
};

/** True when the log received a line. */
inline bool appended(AppendOutcome outcome)
{
    return outcome == AppendOutcome::LineWritten || outcome == AppendOutcome::ReferenceTaken;
}

} // namespace lumen::driftlog
