#include "sequa/core/commands/CommandContext.h"

#include "common/core/Failure.h"
#include "common/core/FixedText.h"
#include "common/core/NumberText.h"
#include "sequa/core/MainModel.h"
#include "sequa/core/files/ValueFiles.h"

namespace lumen::sequa {

CommandContext::CommandContext(CommandRunner &runner, MainModel &model, const CommandRow &row,
                               const QString &line)
    : m_runner(runner), m_model(model), m_row(row), m_line(line)
{
}

HostApp &CommandContext::host()
{
    return m_model.hostAppObject();
}

QString CommandContext::textFrom(int position) const
{
    if (position < 1 || position > m_line.size())
        return QString();
    return midText(m_line, position);
}

QString CommandContext::argument() const
{
    return textFrom(m_row.argumentStart);
}

QString CommandContext::trimmedArgument() const
{
    return trimBlanks(argument());
}

QString CommandContext::valueFileArgument() const
{
    return ValueFiles::ReadValueFile(m_model.programFolder(), fileNameField(trimmedArgument()));
}

double CommandContext::numericArgument() const
{
    return numericValue(argument());
}

std::int16_t CommandContext::int16Argument() const
{
    return int16OfText(argument());
}

QString CommandContext::beforeFirstComma() const
{
    const qsizetype comma = m_line.indexOf(QLatin1Char(','));
    const qsizetype start = m_row.argumentStart - 1; // 0-based
    if (comma < 0 || comma < start)
        throw Failure(
            QStringLiteral("Invalid procedure call or argument: no comma in \"%1\"").arg(m_line));
    return m_line.mid(start, comma - start);
}

QString CommandContext::afterFirstComma() const
{
    const qsizetype comma = m_line.indexOf(QLatin1Char(','));
    return m_line.mid(comma + 1);
}

QString CommandContext::fileNameField(const QString &name)
{
    return fixedWidth(name, kFileNameWidth);
}

} // namespace lumen::sequa
