#include "sequa/core/SequaProgram.h"

#include "common/core/EventPump.h"
#include "common/core/Failure.h"
#include "common/core/NumberText.h"
#include "sequa/core/SequaTexts.h"
#include "sequa/core/run/DayStopwatch.h"
#include "sequa/core/run/HostHold.h"

#include <exception>

namespace lumen::sequa {

namespace {
const QString kOk = QStringLiteral("OK");
}

SequaProgram::SequaProgram(MainModel::HostFactory hostFactory)
    : m_model(std::move(hostFactory)), m_runner(m_model), m_timer(m_model)
{
}

SequaProgram::StartUpOutcome SequaProgram::startUp(const QString &commandLine)
{
    m_model.setLoading(true);
    m_model.setDeadTimeFileName(QStringLiteral("DT.txt"));
    m_model.setLastAnalysisType(QString());

    if (!commandLine.isEmpty() && m_unattendedStart && m_unattendedStart(*this, commandLine)) {
        m_model.setLoading(false);
        return StartUpOutcome::EndProgram;
    }

    m_model.setAnalysisTypes(kAnalysisTypes);
    try {
        connectAtStartUp();
    } catch (const Failure &failure) {
        m_model.setStatusText(QStringLiteral("Error: ") + failure.description());
    } catch (const std::exception &error) {
        m_model.setStatusText(QStringLiteral("Error: ") + QString::fromLocal8Bit(error.what()));
    }
    m_model.setLoading(false);
    return StartUpOutcome::ShowWindow;
}

void SequaProgram::connectAtStartUp()
{
    m_model.createHostAppObject();
    HostApp &host = m_model.hostAppObject();
    host.testconnect(); // the first answer may come before the host is ready
    if (host.testconnect() != kOk) {
        DayStopwatch stopwatch;
        do {
            pumpEventsWhileWaiting();
            if (m_model.hostAppObject().testconnect() == kOk)
                break;
        } while (stopwatch.elapsed() < kConnectWaitSeconds);
    }

    if (const QString answer = m_model.hostAppObject().testconnect(); answer == kOk) {
        readLibrarySettings();
    } else {
        m_model.setNoConnectionReason(answer);
        m_model.setStatusText(kNoConnection);
    }
}

void SequaProgram::readLibrarySettings()
{
    double wait = 0; // seconds; becomes 20 once a round brings back no library name
    DayStopwatch stopwatch;
    do {
        m_runner.ExecuteCommandLine(QStringLiteral("SetPrimary1"), false);
        m_runner.ExecuteCommandLine(QStringLiteral("GetLibrary"), false);
        m_model.setLibraryText(m_model.statusText());
        m_runner.ExecuteCommandLine(QStringLiteral("GetUseLibEff"), false);
        // Any non-zero number means the host uses library efficiencies.
        m_model.setUseLibEff(int16OfText(m_model.statusText()) != 0);
        m_model.setStatusText(kConnected);
        pumpEventsWhileWaiting();
        if (m_model.libraryText().isEmpty())
            wait = kLibraryRetrySeconds;
    } while (stopwatch.elapsed() < wait);
}

void SequaProgram::connectMenu()
{
    m_model.setConnectMenuChecked(true);
    try {
        m_model.createHostAppObject();
        const QString holder = m_runner.hostHeldElsewhere();
        const QString answer =
            holder.isEmpty() ? m_model.hostAppObject().testconnect() : HostHold::refusal(holder);
        if (answer == kOk) {
            m_model.setNoConnectionReason(QString());
            m_model.setStatusText(kConnected);
            m_model.AppendScriptLine(QStringLiteral("ConnectLMN"));
            return;
        }
        m_model.setNoConnectionReason(answer);
    } catch (const Failure &failure) {
        // Any failure reads as no connection, like a host that does not answer.
        m_model.setNoConnectionReason(failure.description());
    } catch (const std::exception &error) {
        m_model.setNoConnectionReason(QString::fromLocal8Bit(error.what()));
    }
    m_model.setConnectMenuChecked(false);
    m_model.setStatusText(kNoConnection);
}

} // namespace lumen::sequa
