#pragma once

#include "sequa/core/recorder/RecorderButtons.h"
#include "sequa/core/recorder/SpectrumButtons.h"
#include "sequa/tests/CommandsTestBench.h"

namespace lumen::sequa::test {

/**
 * The commands bench with the recorder's buttons on it. Immediate Test Mode
 * starts on (as the commands bench leaves it); tests of what is recorded
 * turn it off.
 */
class RecorderTestBench : public CommandsTestBench
{
protected:
    RecorderTestBench() : m_buttons(model(), runner()), m_spectrum(model(), runner()) {}

    /** The recorded lines, without the CR LF after the last one. */
    QStringList recorded() const
    {
        QStringList lines = m_program->model().scriptText().split(QStringLiteral("\r\n"));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }

    /** The last prompt the operator saw. */
    ScriptedOperator::Prompt lastPrompt() const
    {
        return m_operator.prompts().isEmpty() ? ScriptedOperator::Prompt{}
                                              : m_operator.prompts().last();
    }

    /** Input prompts as "prompt|title|default", in order. */
    QStringList inputPrompts() const
    {
        QStringList found;
        for (const auto &prompt : m_operator.prompts()) {
            if (prompt.kind == ScriptedOperator::Prompt::Kind::Input)
                found.append(prompt.text + QLatin1Char('|') + prompt.title + QLatin1Char('|') +
                             prompt.defaultText);
        }
        return found;
    }

    /** A value file in the scratch folder holding `lines`; its full path. */
    QString valueFile(const QString &name, const QByteArray &content)
    {
        writeFile(name, content);
        return file(name);
    }

    RecorderButtons m_buttons;
    SpectrumButtons m_spectrum;
};

} // namespace lumen::sequa::test
