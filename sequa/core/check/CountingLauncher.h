#pragma once

#include "common/core/ProcessLauncher.h"

#include <QStringList>

namespace lumen::sequa {

/**
 * The launcher of a trial play: starts nothing, notes each command line and
 * reports the program as already ended, so WaitExtProg costs its settle only.
 */
class CountingLauncher : public ProcessLauncher
{
public:
    qint64 start(const QString &commandLine, bool minimized) override;
    ProcessEnd waitForEnd(qint64 pid, const std::function<bool()> &stopNow = {}) override;
    bool isRunning(qint64 pid) const override;

    const QStringList &started() const { return m_started; }

private:
    QStringList m_started;
};

} // namespace lumen::sequa
