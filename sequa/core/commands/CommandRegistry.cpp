#include "sequa/core/commands/CommandRegistry.h"

#include <stdexcept>

namespace lumen::sequa {

CommandRegistry::CommandRegistry() : m_rows(CommandTable::rows()) {}

std::size_t CommandRegistry::position(const CommandRow &tableRow)
{
    return std::size_t(&tableRow - CommandTable::rows().data());
}

void CommandRegistry::add(const QString &keyword, CommandHandler handler)
{
    // Both are programming errors: a handler nobody could reach, or two groups
    // claiming one keyword.
    const CommandRow *tableRow = CommandTable::find(keyword);
    if (!tableRow)
        throw std::logic_error("keyword not in the command table: " + keyword.toStdString());
    CommandRow &row = m_rows[position(*tableRow)];
    if (row.handler)
        throw std::logic_error("keyword registered twice: " + keyword.toStdString());
    row.handler = std::move(handler);
}

const CommandHandler *CommandRegistry::handler(const QString &keyword) const
{
    const CommandRow *tableRow = CommandTable::find(keyword);
    if (!tableRow)
        return nullptr;
    const CommandRow &row = m_rows[position(*tableRow)];
    return row.handler ? &row.handler : nullptr;
}

const CommandRow *CommandRegistry::match(const QString &trimmedLine) const
{
    const CommandRow *tableRow = CommandTable::match(trimmedLine);
    return tableRow ? &m_rows[position(*tableRow)] : nullptr;
}

} // namespace lumen::sequa
