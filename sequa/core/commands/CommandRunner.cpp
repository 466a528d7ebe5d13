#include "sequa/core/commands/CommandRunner.h"

#include "common/core/Failure.h"
#include "common/core/FixedText.h"
#include "common/core/NumberText.h"
#include "common/core/Operator.h"
#include "common/core/StopFlag.h"
#include "hostlink/HostLink.h"
#include "sequa/core/MainModel.h"
#include "sequa/core/SequaTexts.h"
#include "sequa/core/commands/CommandContext.h"
#include "sequa/core/commands/CommandGroups.h"
#include "sequa/core/commands/CommandTable.h"
#include "sequa/core/commands/ConnectCommand.h"
#include "sequa/core/run/HostHold.h"
#include "sequa/core/run/RunJournal.h"

#include <exception>

namespace lumen::sequa {

namespace {

const QString kOk = QStringLiteral("OK");
const QString kErrorPrefix = QStringLiteral("Error: ");
// More than this many ticks must pass while an error is shown during a run.
constexpr qint32 kErrorPanelTicks = 15;

} // namespace

CommandRunner::CommandRunner(MainModel &model) : m_model(model)
{
    registerCommandGroups(m_registry);
}

bool CommandRunner::isSuccess(const QString &reply)
{
    return reply.startsWith(kOk, Qt::CaseSensitive);
}

bool CommandRunner::ExecuteCommandLine(const QString &line, bool record)
{
    QString copy = line;
    return ExecuteCommandLine(copy, record);
}

bool CommandRunner::ExecuteCommandLine(QString &line, bool record)
{
    const bool touchFrames = !m_model.playing() && !m_model.waiting();
    if (touchFrames)
        m_model.EnableCommandFrames(false);
    m_model.setStatusText(QString());

    const QString reply = trimBlanks(DispatchCommand(line));
    const bool failed = !isSuccess(reply);
    if (failed) {
        m_model.setStatusText(reply);
        QString shown = QStringLiteral("ERROR:   ") + reply + QStringLiteral("\r\n") +
                        QStringLiteral("COMMAND: ") + line;
        if (reply == kNoConnection && !m_model.noConnectionReason().isEmpty()) {
            // "No Connection" alone cannot tell a host that is down from one another run holds.
            shown += QStringLiteral("\r\nREASON:  ") + m_model.noConnectionReason();
            if (RunJournal *journal = m_model.runRecord().journal())
                journal->write(QStringLiteral("No Connection: ") + m_model.noConnectionReason());
        }
        if (m_model.playing()) {
            m_model.ShowMessagePanel(shown);
            m_model.pumpForTicks(kErrorPanelTicks);
            m_model.HideMessagePanel();
            m_model.writeRunLogLine(QStringLiteral("ERROR:   ") + reply +
                                    QStringLiteral("      COMMAND: ") + line);
        } else {
            currentOperator().messageBox(shown, kProgramTitle, MessageButtons::Ok);
        }
        currentOperator().beep();
    } else {
        m_model.setStatusText(reply == kOk ? kOk : reply.mid(2));
    }

    m_model.setLastReply(reply);
    if (m_lineAnswered && m_model.playing())
        m_lineAnswered(m_model.currentLine(), reply);
    if (record)
        m_model.AppendScriptLine(line);
    // Playing or Waiting may have changed meanwhile: the design reads them again here.
    if (!m_model.playing() && !m_model.waiting())
        m_model.EnableCommandFrames(true);
    return failed;
}

QString CommandRunner::DispatchCommand(QString &line)
{
    const QString reply = dispatchLine(line);
    // A signal cuts a call on the host short, and the call fails: the line
    // did not fail by itself, the run was stopped. The event loop would tell
    // the run only after this line was journaled.
    const QString signal = stopflag::raisedBy();
    if (signal.isEmpty() || isSuccess(reply))
        return reply;
    m_model.runRecord().requestStop(QStringLiteral("interrupted by ") + signal);
    return QStringLiteral("Wait ended: ") + m_model.runRecord().stopReason();
}

QString CommandRunner::dispatchLine(QString &line)
{
    if (!m_model.doNow())
        return kOk;
    // A NUL would cut a file name short into another name further down.
    if (line.contains(QChar(u'\0')))
        return kErrorPrefix + QStringLiteral("the line holds a NUL character");
    if (m_model.playing() && m_outsideCodePage.contains(m_model.currentLine()))
        return kErrorPrefix +
               QStringLiteral("the line holds %1, which Windows-1252 files and fields cannot hold")
                   .arg(m_outsideCodePage.value(m_model.currentLine()));
    m_model.setNoConnectionReason(QString());
    try {
        if (const QString holder = hostHeldElsewhere(); !holder.isEmpty()) {
            m_model.setNoConnectionReason(HostHold::refusal(holder));
            return kNoConnection;
        }
        if (CommandTable::isConnectLine(line)) {
            QString reply = ConnectCommand::run(*this);
            if (isSuccess(reply))
                m_model.runRecord().noteHostReached();
            return reply;
        }

        if (const QString answer = m_model.hostAppObject().testconnect(); answer != kOk) {
            m_model.setNoConnectionReason(answer);
            return kNoConnection;
        }
        m_model.runRecord().noteHostReached();

        line = trimBlanks(line);
        return runMatched(line);
    } catch (const Failure &failure) {
        return kErrorPrefix + failure.description();
    } catch (const std::exception &error) {
        return kErrorPrefix + QString::fromLocal8Bit(error.what());
    }
}

QString CommandRunner::hostHeldElsewhere() const
{
    // A run's own lines, and its commands from the window, drive the host it holds.
    if (!m_model.exclusiveRuns() || m_model.playing())
        return QString();
    try {
        if (HostLink::fromEnvironment().kind != HostLink::Kind::InProcess)
            return QString(); // a bridge refuses by itself, through testconnect
    } catch (const Failure &) {
        return QString();
    }
    return HostHold::heldBy();
}

QString CommandRunner::runMatched(QString &line)
{
    const CommandRow *row = m_registry.match(line);
    if (!row || !row->handler) {
        return QStringLiteral("Command not recognized - ") + line + QStringLiteral(" at line ") +
               numberToText(m_model.currentLine());
    }
    CommandContext context(*this, m_model, *row, line);
    return row->handler(context);
}

} // namespace lumen::sequa
