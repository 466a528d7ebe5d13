#include "transpec/gui/ConvertWindow.h"

#include "transpec/core/BoxNames.h"
#include "transpec/gui/GraphWidget.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace lumen::transpec {

namespace {

QString colourSheet(quint32 rgb)
{
    return QStringLiteral("background-color: #%1; color: black;").arg(rgb, 6, 16, QLatin1Char('0'));
}

// The two panels of boxes, row by row.
PanelRows incomingRows()
{
    return {{{"Sample Desc:", box::SpcID}},
            {{"", box::SpcID_line2}},
            {{"Live TIme:", box::LiveTime}, {"Real Time:", box::RealTime}},
            {{"Size:", box::SizTxt}, {"Units:", box::UnitsTxt}},
            {{"Type:", box::fType}, {"# Channels:", box::NumChan}},
            {{"Sample Date:", box::SpcSamDate}, {"Time:", box::SpcSamTime}},
            {{"MCA acquire date:", box::AcqDate}, {"Time:", box::AcqTime}}};
}

PanelRows convertedRows()
{
    return {{{"Spctrum ID:", box::AnsID}},
            {{"Live Time:", box::AnsLT}, {"Real Time:", box::AnsRT}},
            {{"Type:", box::AnsType}, {"# Chan:", box::AnsNumChan}},
            {{"Size:", box::AnsSize}, {"Units:", box::AnsUnits}},
            {{"Sample Date:", box::AnsSamDate}, {"Time:", box::AnsSamTime}},
            {{"MCA acquire date:", box::AnsMcaDate}, {"Time:", box::AnsMcaTime}},
            {{"C(0):", box::C0}, {"C(1):", box::C1}},
            {{"C(2):", box::C2}, {"C(3):", box::C3}},
            {{"Grp Size:", box::GrpSize}}};
}

// The size the window opens at: most of the screen, no more than a graph
// needs to read well, never below what the window needs.
QSize openingSize(const QSize &available, const QSize &least)
{
    const QSize most(std::min(available.width() * 9 / 10, 1600),
                     std::min(available.height() * 9 / 10, 1000));
    return most.expandedTo(least);
}

} // namespace

QLineEdit *ConvertWindow::addBox(const QString &name)
{
    auto *edit = new QLineEdit(this);
    edit->setObjectName(name);
    m_boxes.insert(name, edit);
    connect(edit, &QLineEdit::textEdited, this, [this, name](const QString &text) {
        m_model.setText(name, text);
        // An edited calibration moves the energy axis; the zoom stays.
        if (m_graph && (name == box::C0 || name == box::C1 || name == box::C2 || name == box::C3))
            m_graph->refreshCalibration();
    });
    return edit;
}

QPushButton *ConvertWindow::addButton(const char *name, const QString &caption)
{
    auto *button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

QWidget *ConvertWindow::panel(const char *name, const QString &title, const PanelRows &rows)
{
    auto *frame = new QGroupBox(title, this);
    frame->setObjectName(QString::fromLatin1(name));
    auto *layout = new QGridLayout(frame);
    // Wide enough for a date as the boxes show it; longer texts scroll in their box.
    const int boxWidth = fontMetrics().horizontalAdvance(QStringLiteral("Mmm 00, 00000")) + 12;
    int r = 0;
    for (const auto &row : rows) {
        int c = 0;
        for (const PanelBox &cell : row) {
            auto *label = new QLabel(QString::fromLatin1(cell.label), frame);
            QLineEdit *edit = addBox(cell.name);
            edit->setParent(frame);
            edit->setMinimumWidth(boxWidth);
            label->setBuddy(edit);
            layout->addWidget(label, r, c);
            layout->addWidget(edit, r, c + 1, 1, row.size() == 1 ? 3 : 1);
            c += 2;
        }
        ++r;
    }
    layout->setRowStretch(r, 1);
    layout->setColumnStretch(1, 1);
    layout->setColumnStretch(3, 1);

    // Below the graph, the panels share the width and keep the height their
    // rows need while there is room; on a short screen their rows scroll, so
    // the graph keeps its share and no label is ever cut.
    auto *area = new QScrollArea(this);
    area->setObjectName(frame->objectName() + QStringLiteral("Scroll"));
    area->setWidget(frame);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setMinimumWidth(frame->minimumSizeHint().width() +
                          area->verticalScrollBar()->sizeHint().width());
    area->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    area->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    return area;
}

QLayout *ConvertWindow::graphColumn()
{
    m_graph = new GraphWidget(m_model, this);
    auto *logScale = new QCheckBox(QStringLiteral("Log scale"), this);
    logScale->setObjectName(QStringLiteral("LogScale"));
    QPushButton *resetZoom = addButton("ResetZoom", QStringLiteral("Show all channels"));
    auto *tools = new QHBoxLayout;
    tools->addWidget(logScale);
    tools->addStretch(1);
    tools->addWidget(resetZoom);
    auto *column = new QVBoxLayout;
    column->addLayout(tools);
    column->addWidget(m_graph, 1);
    connect(logScale, &QCheckBox::toggled, m_graph, &GraphWidget::setLogScale);
    connect(resetZoom, &QPushButton::clicked, m_graph, &GraphWidget::resetZoom);
    return column;
}

ConvertWindow::ConvertWindow(ConvertModel &model, QWidget *parent) : QWidget(parent), m_model(model)
{
    setObjectName(QStringLiteral("Convert"));
    setWindowTitle(ConvertModel::kCaption);

    m_load = addButton("LoadSPM", QStringLiteral("Open Spectrum file"));
    m_exit = addButton("ExitProg", QString());
    m_save = addButton("SaveANS", QString());
    m_saved = new QLabel(this);
    m_saved->setObjectName(QStringLiteral("SavedTo"));
    m_saved->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long list of warnings is cut at the window's edge (the tooltip holds
    // it whole), never widening the window beyond the screen.
    m_saved->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    auto *top = new QHBoxLayout;
    top->addWidget(m_load);
    top->addWidget(addBox(box::SpcToRead), 1);
    top->addWidget(m_exit);

    auto *panels = new QHBoxLayout;
    panels->addWidget(
        panel("FrameIncoming", QStringLiteral("Incomming Spectral info"), incomingRows()));
    panels->addWidget(panel("FrameConverted", QStringLiteral("ANS Type 2 Converted Spectral info"),
                            convertedRows()));

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_save);
    bottom->addWidget(addBox(box::AnsToWrite), 1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(graphColumn(), 1);
    layout->addLayout(panels);
    layout->addLayout(bottom);
    layout->addWidget(m_saved);

    connect(m_load, &QPushButton::clicked, &m_model, &ConvertModel::openSpectrum);
    connect(m_save, &QPushButton::clicked, &m_model, [this] { m_model.saveConverted(); });
    connect(m_exit, &QPushButton::clicked, &m_model, &ConvertModel::exitProgram);
    connect(&m_model, &ConvertModel::changed, this, &ConvertWindow::refresh);
    connect(&m_model, &ConvertModel::graphChanged, m_graph, &GraphWidget::refresh);
    refresh();

    if (const QScreen *s = screen())
        resize(openingSize(s->availableGeometry().size(), minimumSizeHint()));
}

void ConvertWindow::refresh()
{
    for (auto it = m_boxes.cbegin(); it != m_boxes.cend(); ++it) {
        const QString text = m_model.text(it.key());
        if (it.value()->text() != text) {
            it.value()->setText(text);
            it.value()->setCursorPosition(0); // show the start of blank-padded fields
        }
    }
    box(box::fType)->setStyleSheet(colourSheet(m_model.typeColour()));
    m_load->setStyleSheet(colourSheet(m_model.loadColour()));
    m_save->setStyleSheet(colourSheet(m_model.saveColour()));
    m_save->setEnabled(m_model.saveEnabled());
    m_save->setText(m_model.saveCaption());
    m_exit->setStyleSheet(colourSheet(ConvertModel::kGreen));
    m_exit->setText(m_model.exitCaption());

    // Where the last save went, and what that file could not carry.
    const QStringList &warnings = m_model.savedWarnings();
    QString saved;
    if (!m_model.savedTo().isEmpty())
        saved = QStringLiteral("Saved to ") + m_model.savedTo() +
                (warnings.isEmpty() ? QString()
                                    : QStringLiteral("  (%1 warning%2: %3)")
                                          .arg(warnings.size())
                                          .arg(warnings.size() == 1 ? "" : "s")
                                          .arg(warnings.join(QStringLiteral("; "))));
    m_saved->setText(saved);
    m_saved->setToolTip(warnings.join(u'\n'));
}

} // namespace lumen::transpec
