#pragma once

#include <QByteArray>
#include <QString>

namespace lumen::sequa {

/**
 * A run's hold on the simulated host's installation (`LUMEN_ROOT`): one
 * run drives it at a time, so two scripts never mix their samples. The hold
 * is a lock on a file in the installation that the system lets go of when
 * the process ends, however it ends, so a crash never blocks the host. The
 * file names the holder (its journal, process and start) for the runs that
 * are refused meanwhile. The programs the run starts do not inherit the lock;
 * a Sequa run that WaitExtProg starts plays on the hold it was lent
 * (kLentVariable), since its parent waits for it.
 */
class HostHold
{
public:
    /** Set for a program WaitExtProg starts: the holder text of the run that waits for it. */
    static constexpr const char *kLentVariable = "LUMEN_HOST_HOLDER";

    /**
     * Holds the host for `holder` for the object's lifetime. Failure "The
     * host is held by ..." when another process holds it and did not lend
     * it to this one. Where no lock can be made (a read-only installation)
     * the run goes on unheld.
     */
    explicit HostHold(const QString &holder);
    ~HostHold();
    HostHold(const HostHold &) = delete;
    HostHold &operator=(const HostHold &) = delete;

    /** The holder text of another live process holding the host, or empty. */
    static QString heldBy();
    /** The refusal a run or a command gets while `holder` holds the host. */
    static QString refusal(const QString &holder);
    /** The hold lent by the run that started this process, or empty. */
    static QString lent();
    /** "Sequa run of journal JOURNAL (process PID, started TIME)". */
    static QString describeRun(const QString &journal);
    /** The lock file: ".sequa/host.hold" in the installation. */
    static QString lockPath();

    /**
     * The holder text of the run this process plays (empty between runs):
     * the name a host bridge shows to the clients it refuses meanwhile.
     */
    static QString current();
    static void setCurrent(const QString &holder);

private:
    int m_fd = -1;
};

/**
 * While a program starts: one that the run waits for (WaitExtProg) is lent
 * the run's hold; one it does not wait for (CallExtProg) is not, since both
 * would drive the host at once. The loan is taken back from this process's
 * environment afterwards, so a later run here never takes it for its own.
 */
class HostLending
{
public:
    explicit HostLending(bool waitedFor);
    ~HostLending();
    HostLending(const HostLending &) = delete;
    HostLending &operator=(const HostLending &) = delete;
};

} // namespace lumen::sequa
