#pragma once

#include "sequa/core/recorder/RecorderButtons.h"
#include "sequa/core/recorder/SpectrumButtons.h"
#include "sequa/gui/RoiDataWindow.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>

class QAbstractButton;
class QGridLayout;
class QGroupBox;
class QWidget;

namespace lumen::sequa {

class RxMainWindow;
class SequaProgram;

/**
 * Fills the main window's command frames and value rows with the recorder
 * buttons and forwards their clicks to RecorderButtons and SpectrumButtons;
 * opens the ROI data viewer. Lives as a child of the window.
 */
class RecorderPanel : public QObject
{
    Q_OBJECT

public:
    RecorderPanel(RxMainWindow &window, SequaProgram &program);

    RecorderButtons &buttons() { return *m_buttons; }
    SpectrumButtons &spectrumButtons() { return m_spectrum; }
    /** The ROI data viewer while it is open, else nullptr. */
    RoiDataWindow *roiViewer() const { return m_viewer; }
    /** "View ROI": opens the viewer, or brings the open one to the front. */
    void viewRoi();

private:
    struct Control
    {
        const char *name;
        const char *caption;
        const char *toolTip;
        std::function<void()> click;
    };

    /** How fillFrame places widgets in its grid, and the Tab order it gives them. */
    enum class Order
    {
        ByRow,
        ByColumn
    };

    QAbstractButton *makeButton(const Control &control);
    /** Replaces a frame's layout by a grid holding `widgets` (nullptr: a gap) in `columns`. */
    QGridLayout *fillFrame(const char *frame, const QList<QWidget *> &widgets, int columns,
                           Order order = Order::ByRow);
    QList<QWidget *> makeButtons(const QList<Control> &controls);
    void buildFrames();
    void buildWindowControls();
    void setTabOrder();

    RxMainWindow &m_window;
    SequaProgram &m_program;
    RecorderButtons *m_buttons = nullptr;
    SpectrumButtons m_spectrum;
    QPointer<RoiDataWindow> m_viewer;
};

} // namespace lumen::sequa
