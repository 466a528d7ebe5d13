#pragma once

#include "common/core/Operator.h"

#include <QStringList>

namespace lumen::sequa {

/**
 * The operator of a trial play: says nothing, confirms every box, answers
 * input boxes from the given answers in turn and, once they are used up,
 * with each box's own default (a DoNumPass prompt thus plays one pass).
 */
class CheckOperator : public Operator
{
public:
    explicit CheckOperator(QStringList answers) : m_answers(std::move(answers)) {}

    MessageAnswer messageBox(const QString &text, const QString &title,
                             MessageButtons buttons) override;
    QString inputBox(const QString &prompt, const QString &title,
                     const QString &defaultText) override;
    std::optional<QString> fileDialog(const FileDialogRequest &request) override;
    void beep() override {}
    void seekAnswers(int taken) override { m_next = qBound(0, taken, int(m_answers.size())); }

private:
    QStringList m_answers;
    int m_next = 0;
};

} // namespace lumen::sequa
