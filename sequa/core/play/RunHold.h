#pragma once

#include <QString>
#include <memory>

namespace lumen {
class HostApp;
}

namespace lumen::sequa {

class HostHold;
class MainModel;

/**
 * What a run holds to itself from before its first line until it ends: the
 * host it drives (the simulated host's installation in process; over TCP
 * the bridge's one controller, reached once before any line plays) and, for
 * a resume, the claim on the run it continues. Taken only where the model's
 * runs are exclusive (the program itself).
 */
class RunHold
{
public:
    RunHold();
    ~RunHold();
    RunHold(const RunHold &) = delete;
    RunHold &operator=(const RunHold &) = delete;

    /**
     * Takes the hold for the run journaled in `journal`, continuing
     * `resumedJournal` when it is not empty. Failure with the refusal when
     * another run holds the host or continued that run already; nothing is
     * then held.
     */
    void take(MainModel &model, const QString &journal, const QString &resumedJournal);
    /** Lets go of the host (the claim stays: the run was continued). */
    void release();

private:
    /** Reaches the bridge under the run's name; Failure when another client holds it. */
    void contactBridge(MainModel &model);

    std::unique_ptr<HostHold> m_host;
    std::shared_ptr<HostApp> m_firstContact;
};

} // namespace lumen::sequa
