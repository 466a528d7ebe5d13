#include "sequa/gui/RecorderPanel.h"

#include "sequa/core/SequaProgram.h"
#include "sequa/core/SequaTexts.h"
#include "sequa/core/files/RoiDataText.h"
#include "sequa/gui/RoiDataWindow.h"
#include "sequa/gui/RxMainWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace lumen::sequa {

namespace {

QString text(const char *latin1)
{
    return QString::fromLatin1(latin1);
}

// Marks a frame grid whose Tab order runs down the columns.
constexpr const char *kByColumn = "tabByColumn";

template <typename T> T *childOf(QWidget &parent, const char *name)
{
    return parent.findChild<T *>(text(name));
}

/** The widgets that take focus by Tab, in the order a reader meets them. */
void collectInReadingOrder(QLayout *layout, QList<QWidget *> &found)
{
    if (!layout)
        return;
    struct Placed
    {
        int row = 0;
        int column = 0;
        QLayoutItem *item = nullptr;
    };
    QList<Placed> items;
    auto *grid = qobject_cast<QGridLayout *>(layout);
    for (int i = 0; i < layout->count(); ++i) {
        Placed placed{0, i, layout->itemAt(i)};
        if (grid) {
            int rowSpan = 0;
            int columnSpan = 0;
            grid->getItemPosition(i, &placed.row, &placed.column, &rowSpan, &columnSpan);
        }
        items.append(placed);
    }
    const bool byColumn = grid && grid->property(kByColumn).toBool();
    std::stable_sort(items.begin(), items.end(), [byColumn](const Placed &a, const Placed &b) {
        if (byColumn && a.column != b.column)
            return a.column < b.column;
        return a.row != b.row ? a.row < b.row : a.column < b.column;
    });
    for (const Placed &placed : std::as_const(items)) {
        if (QWidget *widget = placed.item->widget()) {
            if (qobject_cast<QGroupBox *>(widget))
                collectInReadingOrder(widget->layout(), found);
            else if (widget->focusPolicy() & Qt::TabFocus)
                found.append(widget);
        } else {
            collectInReadingOrder(placed.item->layout(), found);
        }
    }
}

} // namespace

RecorderPanel::RecorderPanel(RxMainWindow &window, SequaProgram &program)
    : QObject(&window), m_window(window), m_program(program),
      m_buttons(new RecorderButtons(program.model(), program.runner(), this)),
      m_spectrum(program.model(), program.runner())
{
    buildFrames();
    buildWindowControls();
    setTabOrder();
}

QAbstractButton *RecorderPanel::makeButton(const Control &control)
{
    auto *button = new QPushButton(text(control.caption));
    button->setObjectName(text(control.name));
    if (control.toolTip)
        button->setToolTip(text(control.toolTip));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, control.click);
    return button;
}

QList<QWidget *> RecorderPanel::makeButtons(const QList<Control> &controls)
{
    QList<QWidget *> made;
    for (const Control &control : controls)
        made.append(makeButton(control));
    return made;
}

QGridLayout *RecorderPanel::fillFrame(const char *frame, const QList<QWidget *> &widgets,
                                      int columns, Order order)
{
    QGroupBox *box = m_window.commandFrame(text(frame));
    delete box->layout(); // the widgets stay; they move into the grid
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setSpacing(3);
    const int rows = (int(widgets.size()) + columns - 1) / columns;
    for (int i = 0; i < widgets.size(); ++i) {
        if (!widgets[i])
            continue;
        if (order == Order::ByRow)
            grid->addWidget(widgets[i], i / columns, i % columns);
        else
            grid->addWidget(widgets[i], i % rows, i / rows);
    }
    grid->setProperty(kByColumn, order == Order::ByColumn);
    return grid;
}

void RecorderPanel::buildFrames()
{
    RecorderButtons &b = *m_buttons;
    SpectrumButtons &s = m_spectrum;
    const auto index = [](void (RecorderButtons::*fn)(int), RecorderButtons &on, int i) {
        return [fn, &on, i] { (on.*fn)(i); };
    };

    fillFrame("frmAcquisition",
              makeButtons({
                  {"cmdAcquire_0", "Acquire", "Start data acquire",
                   index(&RecorderButtons::acquire, b, 0)},
                  {"cmdAcquire_1", "Stop Acq", "Stop", index(&RecorderButtons::acquire, b, 1)},
                  {"cmdAcquire_2", "Erase", "Erase selected memory",
                   index(&RecorderButtons::acquire, b, 2)},
                  {"cmdAcquire_3", "Get Status", "Get acquisition status",
                   index(&RecorderButtons::acquire, b, 3)},
              }),
              2);

    fillFrame("frmPresets",
              makeButtons({
                  {"AskLive", "Ask Live",
                   "Promt the user to enter Live Time preset at run time and send to Lmn",
                   [&b] { b.askLive(); }},
                  {"GetLive", "Get Live",
                   "Grab Live Time preset from text file at run time and send to Lmn",
                   [&b] { b.getLive(); }},
                  {"cmdPreset_0", "Off", "Disable presets", index(&RecorderButtons::preset, b, 0)},
                  {"cmdPreset_1", "On", "Enable presets", index(&RecorderButtons::preset, b, 1)},
                  {"cmdPreset_2", "Set Real ", "Set real time preset",
                   index(&RecorderButtons::preset, b, 2)},
                  {"cmdPreset_3", "Set Live", "Set live time preset",
                   index(&RecorderButtons::preset, b, 3)},
              }),
              2);

    fillFrame("frmElapsed",
              makeButtons({
                  {"cmdDTfile", "Dead Time", "Save deadtime in selected text file",
                   [&b] { b.deadTimeFile(); }},
                  {"cmdDT", "Get Name", "Grab DT% filename from text file and save",
                   [&b] { b.deadTimeName(); }},
                  {"cmdGetElapsed_0", "Real", "Display real time on screen",
                   index(&RecorderButtons::getElapsed, b, 0)},
                  {"cmdGetElapsed_1", "Live", "Display live time on screen",
                   index(&RecorderButtons::getElapsed, b, 1)},
              }),
              2);

    // Three columns: what the operator is asked, what is read from value
    // files, and the spectrum's own commands; alike captions stay apart.
    fillFrame(
        "frmSpectrum",
        makeButtons({
            {"AskTIme", "Time", "Promt the user to enter Time of decay corrected sample collection",
             [&s] { s.askTime(); }},
            {"AskDate", "Date", "Promt the user to enter Date of decay corrected sample collection",
             [&s] { s.askDate(); }},
            {"AskUnits", "Units", "Promt the user to enter units for sample weight or volume",
             [&s] { s.askUnits(); }},
            {"AskQuantity", "Quantity",
             "Promt the user to enter size number for sample weight or volume",
             [&s] { s.askQuantity(); }},
            {"AskID", "Ask ID", "Promt the user to enter the sample ID text", [&s] { s.askId(); }},
            {"AskName", "Ask Name",
             "Promt the user for a file name to be used to save the spectrum and report from the "
             "last analysis performed",
             [&s] { s.askName(); }},
            {"cmdTime", "Time", "Read Time from file at run time", [&s] { s.getTime(); }},
            {"cmdDate", "Date", "Read Date from file at run time", [&s] { s.getDate(); }},
            {"cmdUnits", "Units", "Read Units from file at run time", [&s] { s.getUnits(); }},
            {"cmdQuantity", "Quantity", "Read Weight/Volume from file at run time",
             [&s] { s.getQuantity(); }},
            {"GoGetID", "Get ID", "Grab specrum ID from text file at run time and set ID",
             [&s] { s.getId(); }},
            {"GoGetSPM", "Get Name",
             "Grab specrum File Name from text file at run time and save binary file",
             [&s] { s.getSpectrumName(); }},
            {"cmdGetCounts", "GetCounts", "Show maximum counts on screen", [&s] { s.getCounts(); }},
            {"cmdNumCounts", "#Channels", "Show number of channels on screen",
             [&s] { s.numberOfChannels(); }},
            {"cmdGetROIData", "ROI Data", "Show NET counts on screen", [&s] { s.getRoiData(); }},
            {"cmdSetInfo", "Set  ID", "Set Spectrum ID (Not for use inside loop)",
             [&s] { s.setInfo(); }},
            {"cmdcopyspec", "Copy", "Copy spectrum from one memory to another",
             [&s] { s.copySpectrum(); }},
            {"cmdSaveSpec", "Save", "Save spectrum, use outside of loop",
             [&s] { s.saveSpectrum(); }},
        }),
        3, Order::ByColumn);

    fillFrame(
        "frmLoad",
        makeButtons({
            {"cmdLoadROIs", "ROIs", "Load a set of ROI's from a file", [&b] { b.loadRois(); }},
            {"cmdLoadCfg", "Config.", "Load an MCA configuration", [&b] { b.loadConfig(); }},
        }),
        2);

    // Analysis: the four analysis buttons, then the library row and the type row.
    QList<QWidget *> analysis = makeButtons({
        {"cmdAnalyze_0", "Analyze", "Do an analysis", index(&RecorderButtons::analyze, b, 0)},
        {"cmdAnalyze_1", "Print Report", "Print results of last analysis",
         index(&RecorderButtons::analyze, b, 1)},
        {"cmdAnalyze_2", "Save Report", "Not for use inside loop",
         index(&RecorderButtons::analyze, b, 2)},
        {"cmdAnalyze_3", "Get Name", "Grab Report Name from text file and save",
         index(&RecorderButtons::analyze, b, 3)},
    });
    auto *useLibEff = childOf<QCheckBox>(m_window, "chkUseLibEff");
    useLibEff->setToolTip(QStringLiteral("Set or clear flag to use Library Efficiencies"));
    analysis.append({nullptr, nullptr}); // the check box's row, spanning both columns
    analysis.append(makeButton(
        {"cmdGetLib", "Get Library", "Read Current Library from Lmn", [&b] { b.getLibrary(); }}));
    analysis.append(childOf<QLineEdit>(m_window, "txtLib"));
    analysis.append(childOf<QComboBox>(m_window, "cboAnalType"));
    analysis.append(makeButton({"cmdSelLib", "Select Library",
                                "Select the library for use with the present memory",
                                [&b] { b.selectLibrary(); }}));
    QGridLayout *analysisGrid = fillFrame("frmAnalysis", analysis, 2);
    analysisGrid->addWidget(useLibEff, 2, 0, 1, 2);

    auto *rootName = childOf<QLineEdit>(m_window, "RootName");
    auto *numPassLoop = childOf<QLineEdit>(m_window, "NumPassLoop");
    QList<QWidget *> loops = {rootName};
    loops.append(makeButtons({
        {"AutoSaveS", "AutoSave", "Saves spectrum, use inside loop", [&b] { b.autoSave(); }},
        {"LoopB", "Begin", "Beginning of script loop", [&b] { b.loopBegin(); }},
        {"LoopE", "End", "End of script loop", [&b] { b.loopEnd(); }},
        {"AutoID", "AutoID", "Set the ID to show sample number, use inside loop",
         [&b] { b.autoId(); }},
    }));
    loops.append(nullptr);
    loops.append(numPassLoop);
    loops.append(
        makeButton({"DoLoops", "#", "If 0, user will be prompted for number of passes at run time",
                    [&b] { b.doLoops(); }}));
    fillFrame("frmLoops", loops, 2);

    fillFrame(
        "frmExtProg",
        makeButtons({
            {"KillFile", "Kill", nullptr, [&b] { b.killFile(); }},
            {"CallExtProg", "Call", "Start External Program and do not wait for it to complete",
             [&b] { b.callExtProg(); }},
            {"WaitExtProg", "Wait", "Call External Program and wait for it to complete",
             [&b] { b.waitExtProg(); }},
        }),
        2);

    fillFrame(
        "frmWait",
        makeButtons({
            {"cmdWait_0", "Preset", "Wait for card to reach preset",
             index(&RecorderButtons::wait, b, 0)},
            {"cmdWait_1", "Interval", "Wait for a while", index(&RecorderButtons::wait, b, 1)},
            {"cmdWait_2", "Input",
             "Wait for the selected digital input to change to the selected state",
             index(&RecorderButtons::wait, b, 2)},
            {"cmdWait_3", "Msg", "Put message on screen and wait for response",
             index(&RecorderButtons::wait, b, 3)},
        }),
        2);
}

void RecorderPanel::buildWindowControls()
{
    RecorderButtons &b = *m_buttons;
    QGridLayout *values = m_window.valueGrid();
    values->addWidget(makeButton({"appendROIs", "Append ROI data to todays file",
                                  "Create and/or append ROI data to date coded text file",
                                  [&b] { b.appendRois(); }}),
                      0, 2);
    values->addWidget(makeButton({"ROIdata", "View ROI", "Show all the ROI data in a text box",
                                  [this] { viewRoi(); }}),
                      1, 2);
    values->addWidget(
        makeButton({"cmdSetPrimary", "Primary", "Select MCA memory", [&b] { b.setPrimary(); }}), 2,
        2);

    // Three columns, the outputs in the last, so the column beside the
    // frames stays narrow enough for a small screen at 125 %.
    auto *row = new QGridLayout;
    row->addWidget(makeButton({"cmdAlert_0", "Beep", "Make a sound...", [&b] { b.alert(0); }}), 0,
                   0);
    row->addWidget(makeButton({"cmdAlert_1", "Show Msg", "Put message on the screen for a second",
                               [&b] { b.alert(1); }}),
                   0, 1);
    for (int number = 1; number <= 2; ++number) {
        auto *box = new QCheckBox(QStringLiteral("Ext Out %1").arg(number));
        box->setObjectName(QStringLiteral("chkExtOut_%1").arg(number));
        connect(box, &QCheckBox::toggled, this, [&b, number](bool on) { b.extOut(number, on); });
        row->addWidget(box, number - 1, 2);
    }
    row->addWidget(makeButton({"cmdResize_0", "Minimize", "Shrink the MCA screen to an icon",
                               [&b] { b.resize(0); }}),
                   1, 0);
    row->addWidget(makeButton({"cmdResize_1", "Maximize", "Make the MCA screen fill the CRT",
                               [&b] { b.resize(1); }}),
                   1, 1);
    QVBoxLayout *side = m_window.sideColumn();
    side->insertLayout(side->indexOf(values) + 1, row);
}

void RecorderPanel::setTabOrder()
{
    QList<QWidget *> order;
    collectInReadingOrder(m_window.centralWidget()->layout(), order);
    for (int i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void RecorderPanel::viewRoi()
{
    if (m_viewer) {
        m_viewer->show();
        m_viewer->raise();
        m_viewer->activateWindow();
        return;
    }
    const auto roi = m_buttons->viewerRoiNumber();
    if (!roi)
        return;
    m_viewer = new RoiDataWindow(&m_window);
    m_viewer->show();
    m_viewer->showData(RoiDataText::load(m_program.model(), *roi));
}

} // namespace lumen::sequa
