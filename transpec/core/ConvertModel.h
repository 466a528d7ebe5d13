#pragma once

#include "common/core/Operator.h"
#include "spectra/AnsHeader.h"
#include "spectra/ChannelStore.h"
#include "spectra/IncomingSpectrum.h"
#include "transpec/core/OutputFormat.h"
#include "transpec/core/TranspecSettings.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <functional>

namespace lumen::transpec {

/** A converted file before it is written: its bytes, the value it must read back as, its doubts. */
struct ConvertedFile
{
    QByteArray bytes;
    Spectrum meant;
    /** What the file cannot carry of the spectrum, and the doubts about it. */
    QStringList warnings;
};

/**
 * The state and logic of the converter window `Convert`: the box texts, the
 * buttons' looks, the loaded flag, the channel store, the ANS header record
 * and the settings. The window shows it and forwards clicks and edits; the
 * batch converter drives the same steps without any window.
 */
class ConvertModel : public QObject
{
    Q_OBJECT

public:
    /** Colours as 0xRRGGBB. */
    static constexpr quint32 kRed = 0xFF0000;
    static constexpr quint32 kGreen = 0x00FF00;
    static constexpr quint32 kYellow = 0xFFFF00;
    static constexpr quint32 kWhite = 0xFFFFFF;

    static const QString kCaption;      ///< the window's caption
    static const QString kMessageTitle; ///< title of its message boxes
    static const QString kSettingsName; ///< "Transpec&FILE.DAT"

    explicit ConvertModel(QObject *parent = nullptr);

    /**
     * Start-up: dialog defaults, the settings record at `settingsPath`, and the
     * start argument (the ANS file to produce; empty for an ordinary start).
     */
    void startUp(const QString &argument, const QString &settingsPath);

    /** `LoadSPM`: asks the operator for a spectrum file and loads it. */
    void openSpectrum();
    /** The open's steps after a file was chosen: read it and fill the converted fields. */
    void loadChosenFile(const QString &path);
    /**
     * `SaveANS`: asks for the output file (not in command-line mode) and writes
     * it, as ANS, or as N42 or CSV when the name chosen ends so; in
     * command-line mode the program then exits. True when written.
     */
    bool saveConverted();
    /** Writes the ANS file from the converted boxes to `AnsToWrite`; true when written. */
    bool writeAns();
    /**
     * The file of `format` a save writes: ANS from the converted boxes as
     * edited, N42 and CSV from the spectrum as read (as --convert writes them).
     */
    ConvertedFile converted(OutputFormat format);
    /** After a save: where it went, and what the file could not carry; empty before. */
    const QString &savedTo() const { return m_savedTo; }
    const QStringList &savedWarnings() const { return m_savedWarnings; }
    /**
     * The save's steps before the write: the header from the converted boxes
     * (the date and time boxes rewritten in normalised form).
     */
    const AnsHeader &headerFromBoxes();
    /** How many channels a save writes: the number in `NumChan`, within the store. */
    int channelsToWrite() const;
    /** `ExitProg`: saves the settings and asks to end. */
    void exitProgram();

    QString text(const QString &box) const { return m_texts.value(box); }
    /** An edit by the operator (no other effect). */
    void setText(const QString &box, const QString &text);

    bool loaded() const { return m_loaded; }
    /**
     * Doubts about the spectrum last loaded that did not stop it: the reader's
     * and the converted fields' (a date that cannot be read, a real time below
     * the live time).
     */
    const QStringList &warnings() const { return m_warnings; }
    /** The reader's own part of warnings(): doubts whatever format is written. */
    const QStringList &readWarnings() const { return m_readWarnings; }
    /** The reader's messages that only inform (shown, but no doubt or refusal of their own). */
    const QStringList &notices() const { return m_notices; }
    bool commandLineMode() const { return m_commandLineMode; }
    QString commandLineOutputPath() const { return m_outputPath; }

    quint32 loadColour() const { return m_loadColour; }
    quint32 saveColour() const { return m_saveColour; }
    bool saveEnabled() const { return m_saveEnabled; }
    quint32 typeColour() const { return m_typeColour; }
    QString saveCaption() const;
    QString exitCaption() const;

    bool exitRequested() const { return m_exitRequested; }
    /** 0 after an ordinary exit or a written command-line import, else 1. */
    int exitStatus() const { return m_exitStatus; }

    const ChannelStore &channels() const { return m_channels; }
    const AnsHeader &header() const { return m_header; }
    /** The spectrum last read (its counts, times, calibration) before any edit of a box. */
    const Spectrum &spectrum() const { return m_spectrum; }
    /** Channels the graph shows: the number in `NumChan`. */
    int graphChannels() const;

    const lumen::FileDialogRequest &openDialog() const { return m_openDialog; }
    QString saveDialogFolder() const { return m_saveFolder; }
    QString settingsPath() const { return m_settingsPath; }

    /** Where messages go; by default to the current operator's message box. */
    void setMessageSink(std::function<void(const QString &)> sink) { m_sink = std::move(sink); }
    /** Whether window events are pumped while channels are read (the window wants it). */
    void setPumpDuringReads(bool pump) { m_pumpDuringReads = pump; }

    /** The name after the last "\" or "/". */
    static QString fileTitle(const QString &path);
    /**
     * Why nothing was read from `path` when the read gave no message: a .txt
     * file opens without a word in the window, so this says what it holds.
     */
    static QString nothingRead(const QString &path);

Q_SIGNALS:
    void changed();
    /** The channels or their count changed: redraw the graph. */
    void graphChanged();
    void exitWanted(int status);

private:
    void show(const QString &message);
    void apply(const IncomingSpectrum &read);
    void fillAnsFields(const QString &title);
    void requestExit(int status);
    bool write(OutputFormat format);
    std::function<void()> pump() const;

    QHash<QString, QString> m_texts;
    bool m_loaded = false;
    QStringList m_warnings;
    QStringList m_readWarnings;
    QStringList m_notices;
    bool m_commandLineMode = false;
    QString m_outputPath;
    quint32 m_loadColour = kGreen;
    quint32 m_saveColour = kRed;
    bool m_saveEnabled = false;
    quint32 m_typeColour = kWhite;
    bool m_exitRequested = false;
    int m_exitStatus = 0;

    ChannelStore m_channels;
    /** The spectrum last read, as the reader gave it. */
    Spectrum m_spectrum;
    AnsHeader m_header;
    std::int16_t m_numberOfChannels = 0;

    lumen::FileDialogRequest m_openDialog;
    QString m_saveFolder;
    QString m_savedTo;
    QStringList m_savedWarnings;
    TranspecSettings m_settings;
    QString m_settingsPath;

    std::function<void(const QString &)> m_sink;
    bool m_pumpDuringReads = false;
};

} // namespace lumen::transpec
