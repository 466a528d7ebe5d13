#pragma once

#include "sequa/core/recorder/ScriptButtons.h"

#include <QObject>

namespace lumen::sequa {

class RxMainWindow;
class SequaProgram;

/**
 * Wires the four cmdScript buttons of the main window to ScriptButtons and
 * keeps Play, Load and Erase disabled while a run is in progress. Lives as a child of the
 * window.
 */
class ScriptButtonPanel : public QObject
{
    Q_OBJECT

public:
    ScriptButtonPanel(RxMainWindow &window, SequaProgram &program);

    ScriptButtons &buttons() { return m_buttons; }

private:
    void refresh();

    RxMainWindow &m_window;
    SequaProgram &m_program;
    ScriptButtons m_buttons;
};

} // namespace lumen::sequa
