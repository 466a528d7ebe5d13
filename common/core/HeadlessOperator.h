#pragma once

#include "common/core/AnswersFile.h"
#include "common/core/Operator.h"

namespace lumen {

/**
 * The operator of a run without a display: every message goes to stderr,
 * questions are answered Cancel/No (OK for an OK-only box), input boxes and
 * file dialogs are cancelled. Never blocks.
 *
 * A caller that knows the answers ahead gives them in an AnswersFile; once
 * they are used up, input boxes are cancelled again.
 */
class HeadlessOperator : public Operator
{
public:
    /** Answers from the file LUMEN_ANSWERS names, if any. */
    HeadlessOperator();
    MessageAnswer messageBox(const QString &text, const QString &title,
                             MessageButtons buttons) override;
    QString inputBox(const QString &prompt, const QString &title,
                     const QString &defaultText) override;
    std::optional<QString> fileDialog(const FileDialogRequest &request) override;
    void beep() override;
    void seekAnswers(int taken) override { m_answers.seek(taken); }
    bool answersWithoutAnyone() const override { return true; }

private:
    AnswersFile m_answers;
};

} // namespace lumen
