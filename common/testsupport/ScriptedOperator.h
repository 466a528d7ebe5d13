#pragma once

#include "common/core/Operator.h"

#include <QList>
#include <QString>
#include <deque>
#include <optional>
#include <utility>

namespace lumen {

/**
 * The operator of tests: answers come from queues, every prompt is recorded.
 * An empty queue answers as the headless operator does (OK/Cancel/No,
 * empty input, cancelled dialog), so a forgotten answer never blocks a test.
 */
class ScriptedOperator : public Operator
{
public:
    struct Prompt
    {
        enum class Kind
        {
            Message,
            Input,
            FileDialog,
            Beep
        } kind;
        QString text;  ///< message text, input prompt or dialog title
        QString title; ///< box title (dialogs: filter)
        MessageButtons buttons = MessageButtons::Ok;
        FileDialogRequest dialog; ///< the whole request for file dialogs
        QString defaultText;      ///< input box default
    };

    void queueAnswer(MessageAnswer answer) { m_answers.push_back(answer); }
    void queueInput(const QString &text) { m_inputs.push_back(text); }
    void queueFile(const std::optional<QString> &path)
    {
        m_files.emplace_back(path.has_value(), path.value_or(QString()));
    }

    const QList<Prompt> &prompts() const { return m_prompts; }
    /** Texts of the message boxes shown so far. */
    QStringList messages() const;
    int beeps() const { return m_beeps; }
    void clear();

    MessageAnswer messageBox(const QString &text, const QString &title,
                             MessageButtons buttons) override;
    QString inputBox(const QString &prompt, const QString &title,
                     const QString &defaultText) override;
    std::optional<QString> fileDialog(const FileDialogRequest &request) override;
    void beep() override;

private:
    std::deque<MessageAnswer> m_answers;
    std::deque<QString> m_inputs;
    std::deque<std::pair<bool, QString>> m_files; ///< (chosen, path); not chosen = cancelled
    QList<Prompt> m_prompts;
    int m_beeps = 0;
};

} // namespace lumen
