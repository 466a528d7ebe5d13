#include "common/testsupport/ScriptedOperator.h"

namespace lumen {

QStringList ScriptedOperator::messages() const
{
    QStringList texts;
    for (const Prompt &p : m_prompts)
        if (p.kind == Prompt::Kind::Message)
            texts << p.text;
    return texts;
}

void ScriptedOperator::clear()
{
    m_answers.clear();
    m_inputs.clear();
    m_files.clear();
    m_prompts.clear();
    m_beeps = 0;
}

MessageAnswer ScriptedOperator::messageBox(const QString &text, const QString &title,
                                           MessageButtons buttons)
{
    Prompt p{Prompt::Kind::Message, text, title, buttons, {}, {}};
    m_prompts << p;
    if (!m_answers.empty()) {
        const MessageAnswer a = m_answers.front();
        m_answers.pop_front();
        return a;
    }
    return answerWithoutOperator(buttons);
}

QString ScriptedOperator::inputBox(const QString &prompt, const QString &title,
                                   const QString &defaultText)
{
    Prompt p{Prompt::Kind::Input, prompt, title, MessageButtons::OkCancel, {}, defaultText};
    m_prompts << p;
    if (m_inputs.empty())
        return QString();
    const QString text = m_inputs.front();
    m_inputs.pop_front();
    return text;
}

std::optional<QString> ScriptedOperator::fileDialog(const FileDialogRequest &request)
{
    Prompt p{Prompt::Kind::FileDialog, request.title, request.filter,
             MessageButtons::OkCancel, request,       {}};
    m_prompts << p;
    if (m_files.empty())
        return std::nullopt;
    const auto [chosen, path] = m_files.front();
    m_files.pop_front();
    if (!chosen)
        return std::nullopt;
    return path;
}

void ScriptedOperator::beep()
{
    ++m_beeps;
    m_prompts << Prompt{Prompt::Kind::Beep, {}, {}, MessageButtons::Ok, {}, {}};
}

} // namespace lumen
