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
#include <QScrollArea>
#include <QVBoxLayout>

namespace lumen::transpec {

namespace {

QString colourSheet(quint32 rgb)
{
    return QStringLiteral("background-color: #%1; color: black;").arg(rgb, 6, 16, QLatin1Char('0'));
}

struct Row
{
    const char *label;
    QString name;
};

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

ConvertWindow::ConvertWindow(ConvertModel &model, QWidget *parent) : QWidget(parent), m_model(model)
{
    setObjectName(QStringLiteral("Convert"));
    setWindowTitle(ConvertModel::kCaption);

    m_load = new QPushButton(QStringLiteral("Open Spectrum file"), this);
    m_load->setObjectName(QStringLiteral("LoadSPM"));
    m_exit = new QPushButton(this);
    m_exit->setObjectName(QStringLiteral("ExitProg"));
    m_save = new QPushButton(this);
    m_save->setObjectName(QStringLiteral("SaveANS"));

    auto *top = new QHBoxLayout;
    top->addWidget(m_load);
    top->addWidget(addBox(box::SpcToRead), 1);
    top->addWidget(m_exit);

    auto grid = [this](QGroupBox *frame,
                       const std::initializer_list<std::initializer_list<Row>> &rows) {
        auto *layout = new QGridLayout(frame);
        int r = 0;
        for (const auto &row : rows) {
            int c = 0;
            for (const Row &cell : row) {
                auto *label = new QLabel(QString::fromLatin1(cell.label), frame);
                QLineEdit *edit = addBox(cell.name);
                edit->setParent(frame);
                label->setBuddy(edit);
                edit->setMinimumWidth(110);
                layout->addWidget(label, r, c);
                // A line of its own (the descriptions, the ID) spans the frame.
                layout->addWidget(edit, r, c + 1, 1, row.size() == 1 ? 3 : 1);
                c += 2;
            }
            ++r;
        }
    };

    auto *incoming = new QGroupBox(QStringLiteral("Incomming Spectral info"), this);
    incoming->setObjectName(QStringLiteral("FrameIncoming"));
    grid(incoming, {{{"Sample Desc:", box::SpcID}},
                    {{"", box::SpcID_line2}},
                    {{"Live TIme:", box::LiveTime}, {"Real Time:", box::RealTime}},
                    {{"Size:", box::SizTxt}, {"Units:", box::UnitsTxt}},
                    {{"Type:", box::fType}, {"# Channels:", box::NumChan}},
                    {{"Sample Date:", box::SpcSamDate}, {"Time:", box::SpcSamTime}},
                    {{"MCA acquire date:", box::AcqDate}, {"Time:", box::AcqTime}}});

    m_graph = new GraphWidget(m_model, this);
    auto *logScale = new QCheckBox(QStringLiteral("Log scale"), this);
    logScale->setObjectName(QStringLiteral("LogScale"));
    auto *resetZoom = new QPushButton(QStringLiteral("Show all channels"), this);
    resetZoom->setObjectName(QStringLiteral("ResetZoom"));
    auto *graphTools = new QHBoxLayout;
    graphTools->addWidget(logScale);
    graphTools->addStretch(1);
    graphTools->addWidget(resetZoom);
    auto *graphColumn = new QVBoxLayout;
    graphColumn->addLayout(graphTools);
    graphColumn->addWidget(m_graph, 1);
    connect(logScale, &QCheckBox::toggled, m_graph, &GraphWidget::setLogScale);
    connect(resetZoom, &QPushButton::clicked, m_graph, &GraphWidget::resetZoom);

    auto *converted = new QGroupBox(QStringLiteral("ANS Type 2 Converted Spectral info"), this);
    converted->setObjectName(QStringLiteral("FrameConverted"));
    grid(converted, {{{"Spctrum ID:", box::AnsID}},
                     {{"Live Time:", box::AnsLT}, {"Real Time:", box::AnsRT}},
                     {{"Type:", box::AnsType}, {"# Chan:", box::AnsNumChan}},
                     {{"Size:", box::AnsSize}, {"Units:", box::AnsUnits}},
                     {{"Sample Date:", box::AnsSamDate}, {"Time:", box::AnsSamTime}},
                     {{"MCA acquire date:", box::AnsMcaDate}, {"Time:", box::AnsMcaTime}},
                     {{"C(0):", box::C0}, {"C(1):", box::C1}},
                     {{"C(2):", box::C2}, {"C(3):", box::C3}},
                     {{"Grp Size:", box::GrpSize}}});

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_save);
    bottom->addWidget(addBox(box::AnsToWrite), 1);

    // On a small screen the columns of boxes scroll and the graph narrows, so
    // that the whole window, buttons included, still fits.
    auto scrolling = [this](QGroupBox *frame) {
        auto *area = new QScrollArea(this);
        area->setObjectName(frame->objectName() + QStringLiteral("Scroll"));
        area->setWidget(frame);
        area->setWidgetResizable(true);
        area->setFrameShape(QFrame::NoFrame);
        area->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
        return area;
    };
    auto *middle = new QHBoxLayout;
    middle->addWidget(scrolling(incoming));
    middle->addLayout(graphColumn, 1);
    middle->addWidget(scrolling(converted));

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(middle, 1);
    layout->addLayout(bottom);

    connect(m_load, &QPushButton::clicked, &m_model, &ConvertModel::openSpectrum);
    connect(m_save, &QPushButton::clicked, &m_model, [this] { m_model.saveConverted(); });
    connect(m_exit, &QPushButton::clicked, &m_model, &ConvertModel::exitProgram);
    connect(&m_model, &ConvertModel::changed, this, &ConvertWindow::refresh);
    connect(&m_model, &ConvertModel::graphChanged, m_graph, &GraphWidget::refresh);
    refresh();
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
}

} // namespace lumen::transpec
