#pragma once

#include <QList>
#include <QString>

namespace lumen::sequa {

/**
 * The lab's quality gate over the programs a run waits for: LUMEN_QC_GATE
 * lists exit statuses (for instance Driftlog's 4, a point at an action
 * limit) that mean the detector is not fit to count on. A program that ends
 * with one of them stops the run before its next line. Unset, nothing is
 * gated and every program's reply stays "OK" as designed.
 */
class QualityGate
{
public:
    static constexpr const char *kVariable = "LUMEN_QC_GATE";

    /**
     * The gate LUMEN_QC_GATE sets: statuses 0 to 255 separated by blanks or
     * commas. Failure naming the variable and its value when it cannot be read,
     * so an unattended run is refused before it plays.
     */
    static QualityGate fromEnvironment();

    bool isSet() const { return !m_statuses.isEmpty(); }
    /** The statuses as LUMEN_QC_GATE takes them: "4 5". */
    QString text() const;
    /** True when a program that exited with `status` must stop the run. */
    bool stops(int status) const { return m_statuses.contains(status); }

    /** "stopped by a quality check: Driftlog ended with status 4" for the program of `commandLine`.
     */
    static QString reason(const QString &commandLine, int status);

private:
    QList<int> m_statuses;
};

} // namespace lumen::sequa
