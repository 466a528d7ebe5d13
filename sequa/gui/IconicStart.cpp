#include "sequa/gui/IconicStart.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace lumen::sequa {

namespace {

/** Minimizes its window once, when it is first exposed, then goes. */
class MinimizeOnExpose : public QObject
{
public:
    explicit MinimizeOnExpose(QWidget &window) : QObject(&window), m_window(window) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose && m_window.windowHandle() == watched &&
            m_window.windowHandle()->isExposed()) {
            m_window.windowHandle()->removeEventFilter(this);
            m_window.windowHandle()->showMinimized();
            deleteLater();
        }
        return false;
    }

private:
    QWidget &m_window;
};

} // namespace

void showIconic(QWidget &window)
{
    window.showMinimized();
    if (QWindow *handle = window.windowHandle())
        handle->installEventFilter(new MinimizeOnExpose(window));
}

} // namespace lumen::sequa
