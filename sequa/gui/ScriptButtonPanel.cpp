#include "sequa/gui/ScriptButtonPanel.h"

#include "sequa/core/SequaProgram.h"
#include "sequa/gui/RxMainWindow.h"

#include <QPushButton>

namespace lumen::sequa {

ScriptButtonPanel::ScriptButtonPanel(RxMainWindow &window, SequaProgram &program)
    : QObject(&window), m_window(window), m_program(program),
      m_buttons(program.model(), program.runner())
{
    for (int index = ScriptButtons::LoadScript; index <= ScriptButtons::PlayScript; ++index) {
        QPushButton *button = m_window.scriptButton(index);
        if (!button)
            continue;
        // Queued, so a long run started from a click does not sit inside the
        // button's own mouse event.
        connect(
            button, &QPushButton::clicked, this, [this, index] { m_buttons.click(index); },
            Qt::QueuedConnection);
    }
    connect(&m_program.model(), &MainModel::changed, this, &ScriptButtonPanel::refresh);
    refresh();
}

void ScriptButtonPanel::refresh()
{
    if (QPushButton *play = m_window.scriptButton(ScriptButtons::PlayScript))
        play->setEnabled(m_buttons.playEnabled());
    for (const int edit : {ScriptButtons::LoadScript, ScriptButtons::EraseScript}) {
        if (QPushButton *button = m_window.scriptButton(edit))
            button->setEnabled(m_buttons.editEnabled());
    }
}

} // namespace lumen::sequa
