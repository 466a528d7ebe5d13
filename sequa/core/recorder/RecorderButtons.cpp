#include "sequa/core/recorder/RecorderButtons.h"

#include "common/core/EventPump.h"
#include "common/core/Failure.h"
#include "common/core/FixedText.h"
#include "common/core/NumberText.h"
#include "common/core/Paths.h"
#include "sequa/core/MainModel.h"
#include "sequa/core/files/DataFiles.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

namespace lumen::sequa {

namespace {

constexpr int kMaxPasses = 9999;
// ShowMsg stays up until at least this many ticks have passed (about 1.5 s).
constexpr qint32 kShowMsgTicks = 6;

const QString kTimeNotEntered = QStringLiteral("Time not entered");
const QString kNoFileName = QStringLiteral("No filename entered");

QString lineAt(const QStringList &lines, int index)
{
    return index >= 0 && index < lines.size() ? lines[index] : QString();
}

} // namespace

RecorderButtons::RecorderButtons(MainModel &model, CommandRunner &runner, QObject *parent)
    : QObject(parent), m_model(model), m_handover(model, runner),
      m_shownUseLibEff(model.useLibEff())
{
    connect(&m_model, &MainModel::changed, this, &RecorderButtons::followUseLibEff);
}

void RecorderButtons::followUseLibEff()
{
    const bool checked = m_model.useLibEff();
    if (checked == m_shownUseLibEff)
        return;
    // Noted before the line runs: running it changes the model again.
    m_shownUseLibEff = checked;
    const QString line =
        checked ? QStringLiteral("SetUseLibEff") : QStringLiteral("ClearUseLibEff");
    if (m_model.loading())
        m_handover.run(line);
    else
        m_handover.recordRun(line);
}

void RecorderButtons::acquire(int index)
{
    static const QStringList lines = {QStringLiteral("StartAcquire"), QStringLiteral("StopAcquire"),
                                      QStringLiteral("EraseSpectrum"),
                                      QStringLiteral("GetAcqStatus")};
    const QString line = lineAt(lines, index);
    if (!line.isEmpty())
        m_handover.recordRun(line);
}

void RecorderButtons::preset(int index)
{
    if (index == 0 || index == 1) {
        m_handover.recordRun(index == 0 ? QStringLiteral("PresetsOff")
                                        : QStringLiteral("PresetsOn"));
        return;
    }
    if (index != 2 && index != 3)
        return;
    const bool real = index == 2;
    const QString entry =
        m_handover.ask(QStringLiteral("Enter length of preset in seconds:"),
                       real ? QStringLiteral("Set Real Time") : QStringLiteral("Set Live Time"),
                       QStringLiteral("0"));
    if (entry.isEmpty()) {
        m_model.setStatusText(kTimeNotEntered);
        return;
    }
    if (const auto seconds = m_handover.int32Entry(entry)) {
        m_handover.recordRun(
            (real ? QStringLiteral("SetRealPreset") : QStringLiteral("SetLivePreset")) +
            numberToText(*seconds));
    }
}

void RecorderButtons::askLive()
{
    if (m_model.doNow()) {
        const QString entry = m_handover.ask(QStringLiteral("Enter Live Time preset:"),
                                             QStringLiteral("Live Time Preset"));
        if (isNumberText(entry))
            m_handover.run(QStringLiteral("SetLivePreset ") + trimBlanks(entry));
        if (!m_handover.showingFailure(
                [&] { m_handover.writeValueFile(QStringLiteral("LTpreset.txt"), entry); }))
            return;
    }
    m_handover.record(QStringLiteral("AskLivePreset"));
}

void RecorderButtons::getLive()
{
    m_handover.valueFileButton(
        QStringLiteral("Read Live Time Preset from file"),
        [this](const QString &x) {
            if (isNumberText(x))
                m_handover.run(QStringLiteral("SetLivePreset ") + trimBlanks(x));
        },
        QStringLiteral("GetLivePreset "));
}

void RecorderButtons::getElapsed(int index)
{
    if (index == 0)
        m_handover.run(QStringLiteral("GetElapsedReal"));
    else if (index == 1)
        m_handover.run(QStringLiteral("GetElapsedLive"));
}

void RecorderButtons::deadTimeFile()
{
    const QString entry =
        m_handover.ask(QStringLiteral("Enter file name for DeadTime storage:"),
                       QStringLiteral("Dead Time File"), trimBlanks(m_model.deadTimeFileName()));
    if (entry.isEmpty()) {
        m_model.setStatusText(kNoFileName);
        return;
    }
    m_model.setDeadTimeFileName(entry);
    const QString line = QStringLiteral("StoreDT ") + trimBlanks(entry);
    pumpEvents();
    m_handover.run(line);
    m_handover.record(line);
}

void RecorderButtons::deadTimeName()
{
    m_handover.valueFileButton(
        QStringLiteral("Read DT% FILE NAME from file"),
        [this](const QString &x) {
            if (x.isEmpty())
                return;
            pumpEvents();
            m_handover.run(QStringLiteral("SaveDT") + trimBlanks(x));
        },
        QStringLiteral("GetDTName "));
}

void RecorderButtons::loadFile(const QString &title, const QString &extension,
                               const QString &lineStart, const QString &lineEnd)
{
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Open;
    request.title = title;
    request.defaultExtension = extension;
    request.initialName = QStringLiteral("*.") + extension.toLower();
    request.filter = QStringLiteral("Text file (*.%1)|*.%1").arg(extension.toLower());
    request.initialFolder = joinPath(m_model.programFolder(), QStringLiteral("spectra"));
    request.mustExist = true;
    const std::optional<QString> path = currentOperator().fileDialog(request);
    if (!path || path->isEmpty())
        return;
    m_handover.recordRun(lineStart + trimBlanks(*path) + lineEnd);
}

void RecorderButtons::loadConfig()
{
    loadFile(QStringLiteral("Specify Configuration file"), QStringLiteral("anh"),
             QStringLiteral("LoadConfig"), QStringLiteral(",All"));
}

void RecorderButtons::loadRois()
{
    loadFile(QStringLiteral("Specify ROI file"), QStringLiteral("ROI"), QStringLiteral("LoadROIs"),
             QString());
}

QString RecorderButtons::analysisType() const
{
    const int index = m_model.analysisTypeIndex();
    if (index < 0 || index >= m_model.analysisTypes().size())
        return QString();
    return trimBlanks(m_model.analysisTypes()[index]);
}

void RecorderButtons::analyze(int index)
{
    if (index < 0 || index > 3)
        return;
    const QString type = analysisType();
    if (type.isEmpty()) {
        m_handover.tell(QStringLiteral("Must select type of analysis."));
        return;
    }
    switch (index) {
    case 0:
        m_handover.recordRun(QStringLiteral("Analyze") + type);
        break;
    case 1:
        m_handover.recordRun(QStringLiteral("PrintRprt") + type);
        break;
    case 2: {
        const QString name =
            m_handover.ask(QStringLiteral("Enter filename:"), QStringLiteral("Save Report"));
        if (!name.isEmpty())
            m_handover.recordRun(QStringLiteral("SaveRprt") + type + QStringLiteral(",") + name);
        break;
    }
    default:
        m_handover.valueFileButton(
            QStringLiteral("Read Report FILE NAME from file"),
            [this, type](const QString &x) {
                if (x.isEmpty())
                    return;
                pumpEvents();
                m_handover.run(QStringLiteral("SaveRprt") + type + QStringLiteral(",") +
                               trimBlanks(x));
            },
            QStringLiteral("GetRprtName ") + type + QStringLiteral(","));
        break;
    }
}

void RecorderButtons::selectLibrary()
{
    const QString library = m_handover.ask(QStringLiteral("Enter library name:"),
                                           QStringLiteral("Select Library"), m_model.libraryText());
    if (library.isEmpty())
        return;
    if (!m_handover.recordRun(QStringLiteral("SelectLib") + library))
        m_model.setLibraryText(library);
}

void RecorderButtons::getLibrary()
{
    if (!m_handover.recordRun(QStringLiteral("GetLibrary"))) {
        if (m_model.statusText() == QStringLiteral("Not Valid"))
            m_model.setStatusText(QString());
        m_model.setLibraryText(m_model.statusText());
    }
    if (!m_handover.recordRun(QStringLiteral("GetUseLibEff")))
        m_model.setUseLibEff(numericValue(m_model.statusText()) != 0);
}

void RecorderButtons::loopBegin()
{
    m_handover.record(QStringLiteral("LoopBeg"));
}

void RecorderButtons::loopEnd()
{
    m_handover.record(QStringLiteral("LoopEnd"));
}

void RecorderButtons::doLoops()
{
    // Limited before the 16-bit conversion as well as after it, so that no
    // entry, however large, can overflow: every text gives a pass count.
    const double value = numericValue(trimBlanks(m_model.numPassLoopText()));
    std::int16_t passes = 0;
    if (std::isnan(value) || value < 0)
        passes = 0;
    else if (value > kMaxPasses)
        passes = kMaxPasses;
    else
        passes = static_cast<std::int16_t>(std::clamp<int>(toInt16(value), 0, kMaxPasses));
    m_model.setNumPasses(passes);
    m_handover.record(QStringLiteral("DoNumPass") + numberToText(passes));
}

void RecorderButtons::autoId()
{
    m_handover.record(QStringLiteral("AutoID"));
}

void RecorderButtons::autoSave()
{
    m_handover.record(QStringLiteral("AutoSaveSpc") + trimBlanks(m_model.rootNameText()).left(4));
}

void RecorderButtons::wait(int index)
{
    switch (index) {
    case 0:
        m_handover.recordRun(QStringLiteral("WaitPreset"));
        break;
    case 1: {
        const QString entry = m_handover.ask(QStringLiteral("Enter duration to wait, in seconds:"),
                                             QStringLiteral("Wait"), QStringLiteral("0"));
        if (entry.isEmpty())
            return;
        if (const auto seconds = m_handover.int32Entry(entry))
            m_handover.recordRun(QStringLiteral("WaitSeconds") + numberToText(*seconds));
        break;
    }
    case 2: {
        const QString title = QStringLiteral("Wait for input");
        const QString inputEntry =
            m_handover.ask(QStringLiteral("Wait for which input?"), title, QStringLiteral("1"));
        if (inputEntry.isEmpty())
            return;
        const auto input = m_handover.int16Entry(inputEntry);
        if (!input)
            return;
        const QString stateEntry =
            m_handover.ask(QStringLiteral("Wait for what value?"), title, QStringLiteral("1"));
        if (stateEntry.isEmpty())
            return;
        if (const auto state = m_handover.int16Entry(stateEntry)) {
            m_handover.recordRun(QStringLiteral("WaitInput") + numberToText(*input) +
                                 QStringLiteral(",") + numberToText(*state));
        }
        break;
    }
    case 3: {
        const QString message =
            m_handover.ask(QStringLiteral("Enter message to present:"),
                           QStringLiteral("Wait for input"), QStringLiteral("Process complete!"));
        if (message.isEmpty())
            return;
        m_handover.record(QStringLiteral("WaitDlg") + message);
        m_handover.tell(message);
        break;
    }
    default:
        break;
    }
}

void RecorderButtons::recordEntry(const QString &prompt, const QString &title,
                                  const QString &lineStart)
{
    const QString entry = m_handover.ask(prompt, title);
    if (!entry.isEmpty())
        m_handover.record(lineStart + entry);
}

void RecorderButtons::killFile()
{
    recordEntry(QStringLiteral("Enter path and file name to delete:"),
                QStringLiteral("Delete External file"), QStringLiteral("KillFile"));
}

void RecorderButtons::callExtProg()
{
    recordEntry(QStringLiteral("Enter command line:"), QStringLiteral("Call External Program"),
                QStringLiteral("CallExtProg"));
}

void RecorderButtons::waitExtProg()
{
    recordEntry(QStringLiteral("Enter command line:"),
                QStringLiteral("Call External Program & Wait"), QStringLiteral("WaitExtProg"));
}

void RecorderButtons::appendRois()
{
    const QString text = m_model.roiCountText();
    const auto count = m_handover.int16Entry(text);
    if (!count)
        return;
    if (m_model.doNow() &&
        !m_handover.showingFailure([&] { DataFiles(m_model).LogRoiData(*count); }))
        return;
    m_handover.record(QStringLiteral("LogROIs ") + trimBlanks(text));
}

void RecorderButtons::alert(int index)
{
    if (index == 0) {
        m_handover.record(QStringLiteral("Beep"));
        currentOperator().beep();
        return;
    }
    if (index != 1)
        return;
    const QString message =
        m_handover.ask(QStringLiteral("Enter message to present:"), QStringLiteral("Show Message"),
                       QStringLiteral("Process complete!"));
    if (message.isEmpty())
        return;
    m_handover.record(QStringLiteral("ShowMsg") + message);
    m_model.ShowMessagePanel(message);
    m_model.pumpForTicks(kShowMsgTicks - 1);
    m_model.HideMessagePanel();
}

void RecorderButtons::extOut(int number, bool checked)
{
    m_handover.recordRun(QStringLiteral("SetExtOut") + numberToText(number) + QStringLiteral(",") +
                         numberToText(checked ? 1 : 0));
}

void RecorderButtons::setPrimary()
{
    const QString text = trimBlanks(m_model.primaryNumberText());
    const auto spectrum = m_handover.spectrumEntry(text, QStringLiteral("You entered ") + text +
                                                             QStringLiteral(".\r\n"));
    if (spectrum)
        m_handover.recordRun(QStringLiteral("SetPrimary") + numberToText(*spectrum));
}

void RecorderButtons::resize(int index)
{
    if (index == 0)
        m_handover.recordRun(QStringLiteral("Minimize"));
    else if (index == 1)
        m_handover.recordRun(QStringLiteral("Maximize"));
}

std::optional<std::int16_t> RecorderButtons::viewerRoiNumber()
{
    const QString text = m_model.roiNumberText();
    try {
        return toInt16(numericValue(text));
    } catch (const Failure &) {
        m_handover.tell(QStringLiteral("You entered ") + trimBlanks(text) +
                        QStringLiteral(".\r\nPlease enter a whole number from -32768 to 32767."));
    }
    return std::nullopt;
}

} // namespace lumen::sequa
