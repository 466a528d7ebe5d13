#pragma once

#include "sequa/core/commands/CommandTable.h"

#include <QString>
#include <cstdint>

namespace lumen {
class HostApp;
}

namespace lumen::sequa {

class CommandRunner;
class MainModel;

/**
 * One command being executed: the trimmed line, its table row, and the
 * argument conventions every command shares. Positions are 1-based
 * characters of the trimmed line; conversions that fail throw Failure,
 * which the dispatcher turns into an "Error: " reply.
 */
class CommandContext
{
public:
    /** Width of the blank-padded file-name field, in characters. */
    static constexpr int kFileNameWidth = 255;

    CommandContext(CommandRunner &runner, MainModel &model, const CommandRow &row,
                   const QString &line);

    CommandRunner &runner() { return m_runner; }
    MainModel &model() { return m_model; }
    /** HostAppObject; Failure when there is none. */
    HostApp &host();
    const CommandRow &row() const { return m_row; }
    /** The trimmed line. */
    const QString &line() const { return m_line; }

    /** Text from position `position` to the end of the line ("" past the end). */
    QString textFrom(int position) const;
    /** Text from the row's argument position. */
    QString argument() const;
    QString trimmedArgument() const;
    /** Numeric value of the argument (stops at the first character that is no part of a number). */
    double numericArgument() const;
    /** 16-bit whole number of the argument's numeric value; Failure on overflow. */
    std::int16_t int16Argument() const;
    /**
     * First of two arguments: from the argument position up to the character
     * before the first comma of the line. Failure when there is no comma.
     */
    QString beforeFirstComma() const;
    /** Second of two arguments: the text after the first comma; the whole line without one. */
    QString afterFirstComma() const;
    /**
     * `ReadValueFile` of the value file that the trimmed argument names (in
     * the 255-character field; without a folder, in the program folder).
     */
    QString valueFileArgument() const;
    /** A file name in the 255-character field: cut or blank-padded. */
    static QString fileNameField(const QString &name);

private:
    CommandRunner &m_runner;
    MainModel &m_model;
    const CommandRow &m_row;
    QString m_line;
};

} // namespace lumen::sequa
