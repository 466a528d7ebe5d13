#pragma once

#include "common/core/Operator.h"

#include <QTextStream>

namespace lumen::ledgerly {

/**
 * The operator of a command-line run: no window can be answered there, so
 * every message goes to the given stream (the run's stderr); questions are
 * answered No or Cancel, and OK-only boxes OK.
 */
class StreamOperator : public lumen::Operator
{
public:
    explicit StreamOperator(QTextStream &stream) : m_stream(stream) {}

    lumen::MessageAnswer messageBox(const QString &text, const QString &title,
                                    lumen::MessageButtons buttons) override;
    QString inputBox(const QString &prompt, const QString &title,
                     const QString &defaultText) override;
    std::optional<QString> fileDialog(const lumen::FileDialogRequest &request) override;
    void beep() override {}

private:
    QTextStream &m_stream;
};

} // namespace lumen::ledgerly
