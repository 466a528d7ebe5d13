#include "sequa/core/recorder/ButtonHandover.h"

#include "common/core/Failure.h"
#include "common/core/FixedText.h"
#include "common/core/NumberText.h"
#include "sequa/core/MainModel.h"
#include "sequa/core/SequaTexts.h"
#include "sequa/core/commands/CommandRunner.h"
#include "sequa/core/files/ValueFiles.h"

#include <exception>
#include <limits>

namespace lumen::sequa {

const QString ButtonHandover::kSpectrumRange =
    QStringLiteral("Please enter a valid number (1-8) for spectrum number.");

namespace {

QString describe(const std::exception &error)
{
    if (const auto *failure = dynamic_cast<const Failure *>(&error))
        return failure->description();
    return QString::fromLocal8Bit(error.what());
}

// The design converted typed numbers unchecked, so a word or a huge number
// ended the program with an overflow; the operator is told instead.
template <typename T>
std::optional<T> wholeEntry(ButtonHandover &handover, const QString &text, T (*convert)(double))
{
    if (isNumberText(text)) {
        try {
            return convert(numericValue(text));
        } catch (const Failure &) {
        }
    }
    handover.tell(QStringLiteral("You entered ") + trimBlanks(text) + QStringLiteral(".\r\n") +
                  QStringLiteral("Please enter a whole number from %1 to %2.")
                      .arg(std::numeric_limits<T>::min())
                      .arg(std::numeric_limits<T>::max()));
    return std::nullopt;
}

} // namespace

ButtonHandover::ButtonHandover(MainModel &model, CommandRunner &runner)
    : m_model(model), m_runner(runner)
{
}

bool ButtonHandover::recordRun(const QString &line)
{
    return m_runner.ExecuteCommandLine(line, true);
}

void ButtonHandover::record(const QString &line)
{
    m_model.AppendScriptLine(line);
}

bool ButtonHandover::run(const QString &line)
{
    return m_runner.ExecuteCommandLine(line, false);
}

void ButtonHandover::tell(const QString &text)
{
    currentOperator().messageBox(text, kProgramTitle, MessageButtons::Ok);
}

QString ButtonHandover::ask(const QString &prompt, const QString &title, const QString &defaultText)
{
    return currentOperator().inputBox(prompt, title, defaultText);
}

std::optional<std::int16_t> ButtonHandover::int16Entry(const QString &text)
{
    return wholeEntry<std::int16_t>(*this, text, &toInt16);
}

std::optional<std::int32_t> ButtonHandover::int32Entry(const QString &text)
{
    return wholeEntry<std::int32_t>(*this, text, &toInt32);
}

std::optional<std::int16_t> ButtonHandover::spectrumEntry(const QString &text,
                                                          const QString &before)
{
    std::optional<std::int16_t> number;
    if (isNumberText(text)) {
        try {
            number = toInt16(numericValue(text));
        } catch (const Failure &) {
        }
    }
    if (number && *number >= 1 && *number <= 8)
        return number;
    tell(before + kSpectrumRange);
    return std::nullopt;
}

FileDialogRequest ButtonHandover::PrepareTextFileDialog(const QString &title) const
{
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Open;
    request.title = title;
    request.defaultExtension = QStringLiteral("TXT");
    request.initialName = QStringLiteral("*.TXT");
    request.filter = QStringLiteral("Text file (*.TXT)|*.TXT");
    request.initialFolder = m_model.programFolder();
    request.mustExist = true;
    return request;
}

void ButtonHandover::valueFileButton(const QString &title, const ValuePreview &preview,
                                     const QString &lineStart)
{
    const std::optional<QString> path = currentOperator().fileDialog(PrepareTextFileDialog(title));
    if (!path)
        return;
    const bool read = showingFailure([&] {
        const QString value = ValueFiles::ReadValueFile(m_model.programFolder(), *path);
        if (preview)
            preview(value);
    });
    if (read)
        record(lineStart + *path);
}

bool ButtonHandover::showingFailure(const std::function<void()> &fn)
{
    try {
        fn();
        return true;
    } catch (const std::exception &error) {
        tell(describe(error));
    }
    return false;
}

void ButtonHandover::writeValueFile(const QString &name, const QString &value)
{
    ValueFiles::writeValueFile(m_model.programFolder(), name, value);
}

} // namespace lumen::sequa
