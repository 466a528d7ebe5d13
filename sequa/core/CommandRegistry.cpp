#include "sequa/core/CommandRegistry.h"

#include "sequa/core/CommandTable.h"

#include <stdexcept>

namespace lumen::sequa {

void CommandRegistry::add(const QString &keyword, CommandHandler handler)
{
    // Both are programming errors: a handler nobody could reach, or two groups
    // claiming one keyword.
    if (!CommandTable::find(keyword))
        throw std::logic_error("keyword not in the command table: " + keyword.toStdString());
    if (m_handlers.contains(keyword))
        throw std::logic_error("keyword registered twice: " + keyword.toStdString());
    m_handlers.insert(keyword, std::move(handler));
}

const CommandHandler *CommandRegistry::handler(const QString &keyword) const
{
    const auto it = m_handlers.constFind(keyword);
    return it == m_handlers.constEnd() ? nullptr : &it.value();
}

} // namespace lumen::sequa
