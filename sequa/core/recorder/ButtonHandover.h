#pragma once

#include "common/core/Operator.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

namespace lumen::sequa {

class CommandRunner;
class MainModel;

/**
 * What every recorder button shares: the ways it hands its line over
 * (record+run, record, run), the operator's boxes with the program's title,
 * whole numbers typed by the operator, and the value-file pick.
 */
class ButtonHandover
{
public:
    /** The copy buttons' and the Primary button's complaint about a spectrum number. */
    static const QString kSpectrumRange;

    ButtonHandover(MainModel &model, CommandRunner &runner);

    MainModel &model() { return m_model; }

    /** Runs the line and records it whatever the outcome; true when it failed. */
    bool recordRun(const QString &line);
    /** Records the line only. */
    void record(const QString &line);
    /** Runs the line without recording it; true when it failed. */
    bool run(const QString &line);

    /** Message box with only OK and the program's name as title. */
    void tell(const QString &text);
    QString ask(const QString &prompt, const QString &title, const QString &defaultText = {});

    /**
     * The whole number the operator typed, halves to even. A text that is no
     * number, or one outside the 16-bit (32-bit) range, is refused with a
     * message box and gives nothing.
     */
    std::optional<std::int16_t> int16Entry(const QString &text);
    std::optional<std::int32_t> int32Entry(const QString &text);
    /** A spectrum memory number 1..8, else kSpectrumRange (after `before`) and nothing. */
    std::optional<std::int16_t> spectrumEntry(const QString &text, const QString &before = {});

    /** The open dialog for an existing text file in the program folder. */
    FileDialogRequest PrepareTextFileDialog(const QString &title) const;

    /** What a value-file button does with the file's value x once picked. */
    using ValuePreview = std::function<void(const QString &x)>;
    /**
     * The value-file pick: asks for a text file, reads its value, lets the
     * preview act on it, then records lineStart + path. Cancel ends silently;
     * any failure from reading on is shown and nothing is recorded.
     */
    void valueFileButton(const QString &title, const ValuePreview &preview,
                         const QString &lineStart);

    /** Runs fn; a failure is shown in a message box. True when fn finished. */
    bool showingFailure(const std::function<void()> &fn);

    /** Writes one value file of the program folder; Failure when it cannot. */
    void writeValueFile(const QString &name, const QString &value);

private:
    MainModel &m_model;
    CommandRunner &m_runner;
};

} // namespace lumen::sequa
