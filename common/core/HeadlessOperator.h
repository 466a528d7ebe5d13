#pragma once

#include "Operator.h"

namespace lumen {

/**
 * The operator of a run without a display: every message goes to stderr,
 * questions are answered Cancel/No (OK for an OK-only box), input boxes and
 * file dialogs are cancelled. Never blocks.
 */
class HeadlessOperator : public Operator
{
public:
    MessageAnswer messageBox(const QString &text, const QString &title,
                             MessageButtons buttons) override;
    QString inputBox(const QString &prompt, const QString &title,
                     const QString &defaultText) override;
    std::optional<QString> fileDialog(const FileDialogRequest &request) override;
    void beep() override;
};

} // namespace lumen
