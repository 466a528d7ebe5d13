#include "sequa/core/check/CheckOperator.h"

namespace lumen::sequa {

MessageAnswer CheckOperator::messageBox(const QString &, const QString &, MessageButtons buttons)
{
    return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
}

QString CheckOperator::inputBox(const QString &, const QString &, const QString &defaultText)
{
    return m_next < m_answers.size() ? m_answers.at(m_next++) : defaultText;
}

std::optional<QString> CheckOperator::fileDialog(const FileDialogRequest &)
{
    return std::nullopt;
}

} // namespace lumen::sequa
