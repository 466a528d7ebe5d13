#pragma once

#include "sequa/core/resume/JournalCheckpoint.h"
#include "sequa/core/resume/ResumePlan.h"

#include <QString>
#include <QStringList>

namespace lumen::sequa {

/**
 * Whether a checkpoint could have been written by a run of the script: its
 * line is one of the script's, each loop it holds open begins at a LoopBeg,
 * the open loops are exactly those around its line, nested as the script
 * nests them, and each has the pass count its DoNumPass gives (any count
 * when an answer gives it). A journal edited or mixed up with another
 * script's would otherwise send a resume past loops it never played.
 */
class CheckpointFit
{
public:
    /** Empty when the checkpoint fits the script's lines; otherwise why it does not. */
    static QString problem(const JournalCheckpoint &checkpoint, const QStringList &scriptLines);
    /** Failure "cannot resume JOURNAL: ..." when the plan's checkpoint does not fit its script. */
    static void require(const ResumePlan &plan, const QString &journal,
                        const QStringList &scriptLines);
};

} // namespace lumen::sequa
