#include "ledgerly/core/StreamOperator.h"

namespace lumen::ledgerly {

lumen::MessageAnswer StreamOperator::messageBox(const QString &text, const QString &title,
                                                lumen::MessageButtons buttons)
{
    m_stream << title << ": " << text << Qt::endl;
    switch (buttons) {
    case lumen::MessageButtons::YesNo:
    case lumen::MessageButtons::YesNoDefaultNo:
        return lumen::MessageAnswer::No;
    case lumen::MessageButtons::OkCancel:
        return lumen::MessageAnswer::Cancel;
    default:
        return lumen::MessageAnswer::Ok;
    }
}

QString StreamOperator::inputBox(const QString &prompt, const QString &title, const QString &)
{
    m_stream << title << ": " << prompt << Qt::endl;
    return {};
}

std::optional<QString> StreamOperator::fileDialog(const lumen::FileDialogRequest &)
{
    return std::nullopt;
}

} // namespace lumen::ledgerly
