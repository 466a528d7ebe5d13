#pragma once

#include "driftlog/core/GainCorrection.h"
#include "driftlog/core/Verdict.h"

#include <QList>
#include <QString>
#include <optional>

namespace lumen::driftlog {

/** The verdict on a new point over every quantity judged there, and the correction it calls for. */
struct QcVerdict
{
    QList<Verdict> verdicts; ///< drift first, then FWHM and rate when the point has them
    /** Given when the drift is at an action (its limits, EWMA, CUSUM or its tolerance). */
    std::optional<GainCorrection> correction;

    /**
     * "action: FWHM cusum, drift 1-3s; warning: rate 2-2s", "warning: drift
     * 10-x", "in control" or, when no quantity has limits yet, "no limits yet".
     */
    QString headline() const;
    /** 4 when any quantity is at an action, 0 otherwise. */
    int exitStatus() const;
    /** The verdict on the drift, when judged. */
    const Verdict *drift() const;
};

} // namespace lumen::driftlog
