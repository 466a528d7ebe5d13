#pragma once

#include "common/core/Operator.h"

#include <QStringList>

namespace lumen {

/**
 * The operator of a run without a display: every message goes to stderr,
 * questions are answered Cancel/No (OK for an OK-only box), input boxes and
 * file dialogs are cancelled. Never blocks.
 *
 * A caller that knows the answers ahead names a text file in LUMEN_ANSWERS:
 * its lines answer the input boxes in turn; once they are used up, input
 * boxes are cancelled again.
 */
class HeadlessOperator : public Operator
{
public:
    HeadlessOperator();
    MessageAnswer messageBox(const QString &text, const QString &title,
                             MessageButtons buttons) override;
    QString inputBox(const QString &prompt, const QString &title,
                     const QString &defaultText) override;
    std::optional<QString> fileDialog(const FileDialogRequest &request) override;
    void beep() override;

private:
    QStringList m_answers;
};

} // namespace lumen
