#pragma once

#include "sequa/core/commands/CommandTable.h"

#include <QString>
#include <vector>

namespace lumen::sequa {

/**
 * The keyword table with the commands that are built: each row holds its
 * handler. Each group of commands registers its own handlers; a row without
 * a handler answers as not recognized, so adding a group never changes which
 * row a line matches.
 */
class CommandRegistry
{
public:
    CommandRegistry();

    /** Registers a handler; throws std::logic_error for a keyword not in the table or given twice.
     */
    void add(const QString &keyword, CommandHandler handler);
    /** The handler of a keyword, or nullptr when that command is not built. */
    const CommandHandler *handler(const QString &keyword) const;
    bool has(const QString &keyword) const { return handler(keyword) != nullptr; }
    /** The row that matches the trimmed line as CommandTable::match finds it, or nullptr. */
    const CommandRow *match(const QString &trimmedLine) const;

private:
    /** Where a row of CommandTable::rows() lies in it, and so in m_rows. */
    static std::size_t position(const CommandRow &tableRow);

    std::vector<CommandRow> m_rows; ///< CommandTable::rows(), in the same order
};

} // namespace lumen::sequa
