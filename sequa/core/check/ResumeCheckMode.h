#pragma once

#include <QStringList>
#include <QTextStream>

namespace lumen::sequa {

/**
 * `Sequa --check --resume JOURNAL`: where `Sequa --resume JOURNAL` would
 * continue, and the estimated time left (the trial play of the resumed run).
 * Status 0 when the run can be resumed, 1 when it would be refused or its
 * script has errors, 2 for a wrong command line. Changes no journal.
 */
class ResumeCheckMode
{
public:
    static constexpr const char *kOption = "--resume";

    /** `args`: the words after "--check", "--resume" first. */
    static int run(const QStringList &args, QTextStream &out, QTextStream &err);
};

} // namespace lumen::sequa
