#pragma once

class QWidget;

namespace lumen::sequa {

/**
 * Shows `window` for an unattended run: minimized (iconic), where the
 * operator can open it to watch or stop the run. Window managers map a new
 * window normally whatever state it asks for, so it is minimized again once
 * it is on the screen.
 */
void showIconic(QWidget &window);

} // namespace lumen::sequa
