#include "sequa/core/recorder/ScriptButtons.h"

#include "common/core/Failure.h"
#include "common/core/Operator.h"
#include "common/core/TextFile.h"
#include "sequa/core/MainModel.h"
#include "sequa/core/SequaTexts.h"
#include "sequa/core/commands/CommandRunner.h"
#include "sequa/core/play/ScriptPlayer.h"
#include "sequa/core/recorder/ScriptFile.h"

#include <exception>
#include <optional>

namespace lumen::sequa {

namespace {

FileDialogRequest scriptDialog(FileDialogRequest::Kind kind, const QString &title,
                               const QString &folder)
{
    FileDialogRequest request;
    request.kind = kind;
    request.title = title;
    request.defaultExtension = QStringLiteral("LSF");
    request.initialName = QStringLiteral("*.lsf");
    request.filter = ScriptButtons::kFilter;
    request.filterIndex = 1;
    request.initialFolder = folder;
    request.mustExist = kind == FileDialogRequest::Kind::Open;
    return request;
}

void showFailure(const std::exception &error)
{
    const auto *failure = dynamic_cast<const Failure *>(&error);
    currentOperator().messageBox(failure ? failure->description()
                                         : QString::fromLocal8Bit(error.what()),
                                 kProgramTitle, MessageButtons::Ok);
}

} // namespace

ScriptButtons::ScriptButtons(MainModel &model, CommandRunner &runner)
    : m_model(model), m_runner(runner)
{
}

void ScriptButtons::click(int index)
{
    switch (index) {
    case LoadScript:
        load();
        break;
    case SaveScript:
        save();
        break;
    case EraseScript:
        erase();
        break;
    case PlayScript:
        play();
        break;
    default:
        break;
    }
}

QString ScriptButtons::scriptFromLines(const QStringList &lines)
{
    return ScriptFile::intoBox(lines).text;
}

void ScriptButtons::load()
{
    if (!editEnabled())
        return;
    const std::optional<QString> path = currentOperator().fileDialog(scriptDialog(
        FileDialogRequest::Kind::Open, QStringLiteral("Load MCA Script"), m_model.programFolder()));
    if (!path)
        return;
    try {
        const ScriptFile::Boxed boxed =
            ScriptFile::intoBox(ScriptFile::lines(ScriptFile::read(*path)));
        m_model.setScriptText(boxed.text);
        m_model.setScriptFile(*path);
        // Dropped lines are told once: a script played short could pass for the whole.
        if (boxed.cut)
            currentOperator().messageBox(kScriptFull, kProgramTitle, MessageButtons::Ok);
    } catch (const std::exception &error) {
        showFailure(error);
    }
}

void ScriptButtons::save()
{
    const std::optional<QString> path = currentOperator().fileDialog(scriptDialog(
        FileDialogRequest::Kind::Save, QStringLiteral("Save MCA Script"), m_model.programFolder()));
    if (!path)
        return;
    try {
        textfile::writeAll(*path, m_model.scriptText() + QStringLiteral("\r\n"));
        m_model.setScriptFile(*path);
    } catch (const std::exception &error) {
        showFailure(error);
    }
}

void ScriptButtons::erase()
{
    if (!editEnabled() || m_model.scriptText().isEmpty())
        return;
    if (currentOperator().messageBox(QStringLiteral("Are you sure?"), kProgramTitle,
                                     MessageButtons::OkCancel) == MessageAnswer::Ok) {
        m_model.setScriptText(QString());
        m_model.setScriptFile(QString());
    }
}

bool ScriptButtons::editEnabled() const
{
    return !m_model.playing();
}

bool ScriptButtons::playEnabled() const
{
    return !m_model.playing();
}

bool ScriptButtons::play()
{
    if (!playEnabled())
        return true;
    const bool doNow = m_model.doNow();
    m_model.setDoNow(true);
    const bool failed = ScriptPlayer(m_model, m_runner).PlayScript(m_model.scriptText());
    // Stop Script ended this run only: the waits of Immediate Test Mode after it must wait.
    m_model.runRecord().clearStop();
    m_model.setDoNow(doNow);
    return failed;
}

} // namespace lumen::sequa
