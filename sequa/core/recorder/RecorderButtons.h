#pragma once

#include "sequa/core/recorder/ButtonHandover.h"

#include <QObject>
#include <cstdint>
#include <optional>

namespace lumen::sequa {

class CommandRunner;
class MainModel;

/**
 * The recorder panel of the main window, all but the frame "Spectrum": each
 * button asks what its command needs, checks it, and records its line (and
 * runs it, when Immediate Test Mode is on). The window forwards clicks to
 * these functions; indexes are those of the button groups.
 *
 * It also runs the library-efficiency check box's line on every change of
 * the box, by the operator or by code, as long as it lives.
 */
class RecorderButtons : public QObject
{
    Q_OBJECT

public:
    RecorderButtons(MainModel &model, CommandRunner &runner, QObject *parent = nullptr);

    ButtonHandover &handover() { return m_handover; }

    // Frame "Acquisition"
    void acquire(int index);
    // Frame "Presets"
    void preset(int index);
    void askLive();
    void getLive();
    // Frame "Elapsed Times"
    void getElapsed(int index);
    void deadTimeFile();
    void deadTimeName();
    // Frame "Load"
    void loadConfig();
    void loadRois();
    // Frame "Analysis"
    void analyze(int index);
    void selectLibrary();
    void getLibrary();
    // Frame "Loops"
    void loopBegin();
    void loopEnd();
    void doLoops();
    void autoId();
    void autoSave();
    // Frame "Wait"
    void wait(int index);
    // Frame "External"
    void killFile();
    void callExtProg();
    void waitExtProg();
    // On the window
    void appendRois();
    void alert(int index);
    /** chkExtOut box 1 or 2 changed to `checked`. */
    void extOut(int number, bool checked);
    void setPrimary();
    void resize(int index);
    /**
     * The ROI number the viewer shows, from ROInumb (0 when it holds no
     * number); nothing, after a message, when it is outside 16 bits.
     */
    std::optional<std::int16_t> viewerRoiNumber();

private:
    void followUseLibEff();
    void recordEntry(const QString &prompt, const QString &title, const QString &lineStart);
    void loadFile(const QString &title, const QString &extension, const QString &lineStart,
                  const QString &lineEnd);
    QString analysisType() const;

    MainModel &m_model;
    ButtonHandover m_handover;
    bool m_shownUseLibEff = false; ///< the box's state the last change was handled for
};

} // namespace lumen::sequa
