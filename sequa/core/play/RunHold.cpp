#include "sequa/core/play/RunHold.h"

#include "common/core/Failure.h"
#include "hostlink/HostApp.h"
#include "hostlink/HostLink.h"
#include "sequa/core/CreateHostAppObject.h"
#include "sequa/core/MainModel.h"
#include "sequa/core/SequaTexts.h"
#include "sequa/core/run/HostHold.h"
#include "sequa/core/run/ResumeClaim.h"

namespace lumen::sequa {

namespace {
const QString kHeldBy = QStringLiteral("The host is held by ");

void claimResumed(const QString &journal, const QString &resumedJournal)
{
    try {
        ResumeClaim::claim(ResumeClaim::sharedFolder(), ResumeClaim::identityOfFile(resumedJournal),
                           journal);
    } catch (const Failure &failure) {
        throw Failure(
            QStringLiteral("cannot resume %1: %2").arg(resumedJournal, failure.description()));
    }
}

/** Failure with the bridge's refusal when another client holds the host. */
void requireHeld(HostApp &host)
{
    const QString answer = host.testconnect();
    if (const qsizetype at = answer.indexOf(kHeldBy); at >= 0)
        throw Failure(answer.mid(at));
}
} // namespace

RunHold::RunHold() = default;

RunHold::~RunHold()
{
    release();
}

void RunHold::take(MainModel &model, const QString &journal, const QString &resumedJournal)
{
    if (!model.exclusiveRuns())
        return;
    const QString lent = HostHold::lent();
    HostHold::setCurrent(lent.isEmpty() ? HostHold::describeRun(journal) : lent);
    try {
        if (!resumedJournal.isEmpty())
            claimResumed(journal, resumedJournal);
        if (HostLink::fromEnvironment().kind == HostLink::Kind::InProcess)
            m_host = std::make_unique<HostHold>(HostHold::current());
        else
            contactBridge(model);
    } catch (const Failure &) {
        release();
        throw;
    }
}

void RunHold::contactBridge(MainModel &model)
{
    // One call before any line plays, under the run's name: a bridge that
    // another client holds refuses it, and the run plays nothing. A bridge
    // that cannot be reached is left to the script's Connect line.
    HostApp *host = nullptr;
    try {
        if (model.hasHostAppObject()) {
            // The window's own connection would hold the host against the run.
            model.createHostAppObject();
            host = &model.hostAppObject();
        } else {
            m_firstContact = createHostAppObject(kHostIdentifier);
            host = m_firstContact.get();
        }
    } catch (const Failure &) {
        return;
    }
    requireHeld(*host);
}

void RunHold::release()
{
    m_firstContact.reset();
    m_host.reset();
    HostHold::setCurrent(QString());
}

} // namespace lumen::sequa
