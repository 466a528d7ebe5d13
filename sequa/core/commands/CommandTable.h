#pragma once

#include <QString>
#include <functional>
#include <vector>

namespace lumen::sequa {

class CommandContext;

/** Runs one command and returns its reply; may throw Failure. */
using CommandHandler = std::function<QString(CommandContext &)>;

/** How a table row's keyword is compared with a command line. */
enum class MatchKind
{
    ConnectPrefix, ///< first characters of the line as received, before trimming
    Exact,         ///< the whole trimmed line, case-sensitive
    Prefix,        ///< the first keyword-length characters, case-sensitive
    PrefixAnyCase  ///< the first keyword-length characters, any letter case
};

/** One row of the keyword table. */
struct CommandRow
{
    QString keyword;
    MatchKind match;
    int argumentStart;      ///< 1-based character position of the argument; 0 = none
    CommandHandler handler; ///< empty in the table itself; a CommandRegistry's rows hold theirs
};

/**
 * The script keywords in matching order. The order is part of the language:
 * the first row that matches wins, so a keyword that is the beginning of a
 * later one hides it (SaveDT before a name starting with anything).
 */
class CommandTable
{
public:
    static const std::vector<CommandRow> &rows();
    /** The row of a keyword, or nullptr. */
    static const CommandRow *find(const QString &keyword);
    /** True when the line as received starts with the Connect keyword. */
    static bool isConnectLine(const QString &untrimmedLine);
    /** The first row after Connect that matches the trimmed line, or nullptr. */
    static const CommandRow *match(const QString &trimmedLine);
};

} // namespace lumen::sequa
