#pragma once

#include <QHash>
#include <QString>
#include <functional>

namespace lumen::sequa {

class CommandContext;

/** Runs one command and returns its reply; may throw Failure. */
using CommandHandler = std::function<QString(CommandContext &)>;

/**
 * The commands that are built, by keyword. Each group of commands registers
 * its own handlers; a table row without a handler answers as not recognized,
 * so adding a group never changes which row a line matches.
 */
class CommandRegistry
{
public:
    /** Registers a handler; throws std::logic_error for a keyword not in the table or given twice.
     */
    void add(const QString &keyword, CommandHandler handler);
    /** The handler of a keyword, or nullptr when that command is not built. */
    const CommandHandler *handler(const QString &keyword) const;
    bool has(const QString &keyword) const { return m_handlers.contains(keyword); }

private:
    QHash<QString, CommandHandler> m_handlers;
};

} // namespace lumen::sequa
