#include "sequa/core/MainModel.h"

#include "common/core/EventPump.h"
#include "common/core/Failure.h"
#include "common/core/Operator.h"
#include "common/core/Paths.h"
#include "common/core/TextFile.h"
#include "sequa/core/SequaTexts.h"
#include "sequa/core/run/DayStopwatch.h"
#include "sequa/core/run/RunJournal.h"

namespace lumen::sequa {

namespace {

// A tick wait also ends when the time of day has moved on by this many times
// its length: then no timer is driving TickCount and the wait would never end.
constexpr double kStalledTimerFactor = 4.0;

template <typename T> T &loopSlot(std::array<T, MainModel::kLoopSlots> &slots, int depth)
{
    if (depth < 1 || depth > MainModel::kLoopSlots)
        throw Failure(QStringLiteral("Subscript out of range"));
    return slots[static_cast<std::size_t>(depth - 1)];
}

} // namespace

MainModel::MainModel(HostFactory hostFactory, QObject *parent)
    : QObject(parent), m_hostFactory(std::move(hostFactory))
{
}

MainModel::~MainModel() = default;

template <typename T> void MainModel::assign(T &member, const T &value)
{
    if (member == value)
        return;
    member = value;
    Q_EMIT changed();
}

void MainModel::createHostAppObject()
{
    if (!m_hostFactory)
        throw Failure(QStringLiteral("ActiveX component can't create object"));
    std::shared_ptr<HostApp> created = m_hostFactory(kHostIdentifier);
    if (!created)
        throw Failure(QStringLiteral("ActiveX component can't create object"));
    m_host = std::move(created);
}

QString MainModel::programFolder() const
{
    return m_programFolder.isEmpty() ? programDirectory() : m_programFolder;
}

HostApp &MainModel::hostAppObject()
{
    if (!m_host)
        throw Failure(QStringLiteral("Object variable not set: not connected to Lumen"));
    return *m_host;
}

void MainModel::onTick()
{
    ++m_tickCount;
    if (m_tickCount > kTickLimit)
        m_tickCount = 0;
    // A bridge lets go of a controller that stays silent through a long wait.
    if (m_playing && m_host && m_tickCount % kKeepAliveTicks == 0)
        m_host->keepAlive();
}

qint32 MainModel::ticksSince(qint32 mark) const
{
    const qint32 period = kTickLimit + 1;
    qint32 passed = (m_tickCount - mark) % period;
    if (passed < 0)
        passed += period;
    return passed;
}

void MainModel::pumpForTicks(qint32 ticks)
{
    const qint32 mark = m_tickCount;
    DayStopwatch stopwatch;
    const double stalledAfter = kStalledTimerFactor * (ticks + 1) * kTickMs / 1000.0;
    while (ticksSince(mark) <= ticks && stopwatch.elapsed() < stalledAfter &&
           !m_runRecord.stopRequested())
        pumpEventsWhileWaiting();
}

qint16 &MainModel::loopStartLine(int depth)
{
    return loopSlot(m_loopStartLine, depth);
}

qint16 &MainModel::loopPasses(int depth)
{
    return loopSlot(m_loopPasses, depth);
}

qint16 &MainModel::loopCounter(int depth)
{
    return loopSlot(m_loopCounter, depth);
}

PassTally &MainModel::loopPassStart(int depth)
{
    return loopSlot(m_loopPassStart, depth);
}

void MainModel::openRunLog(const QString &path)
{
    try {
        textfile::writeLines(path, {});
    } catch (const Failure &failure) {
        throw Failure(
            QStringLiteral("Cannot open run log %1: %2").arg(path, failure.description()));
    }
    m_runLogPath = path;
}

void MainModel::closeRunLog()
{
    m_runLogPath.clear();
}

void MainModel::writeRunLogLine(const QString &line)
{
    if (m_runLogPath.isEmpty())
        return;
    if (RunJournal *journal = m_runRecord.journal())
        journal->write(line);
    // The journal is the run's record; the temporary run log only mirrors it
    // for whoever watches, so a line it cannot take does not stop the run.
    try {
        textfile::appendLines(m_runLogPath, {line});
    } catch (const Failure &) {
    }
    if (m_runLogEcho)
        *m_runLogEcho << line << Qt::endl;
}

void MainModel::setPlaying(bool on)
{
    assign(m_playing, on);
}

void MainModel::setScriptText(const QString &text)
{
    assign(m_script, text);
}

void MainModel::setScriptFile(const QString &path)
{
    assign(m_scriptFile, path);
}

void MainModel::setStatusText(const QString &text)
{
    assign(m_status, text);
}

void MainModel::setLastCommandText(const QString &text)
{
    assign(m_lastCommand, text);
}

void MainModel::setDoNow(bool checked)
{
    assign(m_doNow, checked);
}

void MainModel::setLibraryText(const QString &text)
{
    assign(m_library, text);
}

void MainModel::setUseLibEff(bool checked)
{
    assign(m_useLibEff, checked);
}

void MainModel::setAnalysisTypes(const QStringList &types)
{
    m_analysisTypeIndex = -1;
    m_analysisTypes = types;
    Q_EMIT changed();
}

void MainModel::setAnalysisTypeIndex(int index)
{
    assign(m_analysisTypeIndex, index >= 0 && index < m_analysisTypes.size() ? index : -1);
}

void MainModel::setNumPassLoopText(const QString &text)
{
    assign(m_numPassLoop, text);
}

void MainModel::setRootNameText(const QString &text)
{
    assign(m_rootName, text);
}

void MainModel::setPrimaryNumberText(const QString &text)
{
    assign(m_primaryNumber, text);
}

void MainModel::setRoiCountText(const QString &text)
{
    assign(m_roiCount, text);
}

void MainModel::setRoiNumberText(const QString &text)
{
    assign(m_roiNumber, text);
}

void MainModel::setConnectMenuChecked(bool checked)
{
    assign(m_connectChecked, checked);
}

void MainModel::EnableCommandFrames(bool enabled)
{
    assign(m_framesEnabled, enabled);
}

void MainModel::ShowMessagePanel(const QString &text)
{
    m_panelShown = true;
    m_panelText = text;
    Q_EMIT messagePanelChanged();
}

void MainModel::HideMessagePanel()
{
    if (!m_panelShown)
        return;
    m_panelShown = false;
    m_panelText.clear();
    Q_EMIT messagePanelChanged();
}

void MainModel::AppendScriptLine(const QString &line)
{
    if (m_playing)
        return;
    if (m_script.size() < kScriptCapacity) {
        setScriptText(m_script + line + QStringLiteral("\r\n"));
        return;
    }
    currentOperator().messageBox(kScriptFull, kProgramTitle, MessageButtons::Ok);
}

} // namespace lumen::sequa
