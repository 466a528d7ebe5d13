#include "driftlog/gui/ParseIt.h"

#include "driftlog/gui/DriftChartView.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace lumen::driftlog {

namespace {
/** Lines of the status shown at once: a verdict's headline, its three quantities and a note. */
constexpr int kStatusLines = 6;
} // namespace

ParseIt::ParseIt(const QString &folder, QWidget *parent) : QWidget(parent), m_model(folder)
{
    setObjectName(QStringLiteral("ParseIt"));
    setWindowTitle(QStringLiteral("Data Orginizer"));
    m_model.startUp();

    auto *top = new QVBoxLayout(this);
    top->addWidget(buildReportFrame());
    auto *middle = new QHBoxLayout;
    middle->addLayout(buildButtonColumn());
    middle->addLayout(buildBoxGrid(), 1);
    top->addLayout(middle);
    top->addWidget(buildStatusArea());

    for (const auto &[box, name] : m_boxes) {
        connect(box, &QLineEdit::textEdited, this,
                [this, name = name](const QString &t) { m_model.setText(name, t); });
    }
    m_model.reportLateViewFailures(this, [this] { refresh(); });

    resize(620, 360);
    refresh();
}

QWidget *ParseIt::buildReportFrame()
{
    auto *frame = new QGroupBox(QStringLiteral("Path and file name for Lmn Report"), this);
    frame->setObjectName(QStringLiteral("FrameReport"));
    auto *layout = new QHBoxLayout(frame);
    auto *rpath = new QLineEdit(frame);
    rpath->setObjectName(QStringLiteral("Rpath"));
    layout->addWidget(rpath);
    m_boxes.append({rpath, rpath->objectName()});
    return frame;
}

QLayout *ParseIt::buildButtonColumn()
{
    const struct
    {
        const char *caption;
        const char *name;
        const char *toolTip;
        void (ParseIt::*action)();
    } rows[] = {
        {"Read Lmn Results Text file", "ReadLmnFile",
         "Read the report file from LmnPro RAPID SCAN or ROI DIRECTED anaylsys",
         &ParseIt::readReport},
        {"Append Data", "AppendIT",
         "Add a new record with the current data to the Results database", &ParseIt::appendData},
        {"View Lmn Results Text file", "Command1", "", &ParseIt::viewReport},
        {"View StabData.txt", "Command2", "", &ParseIt::viewLog},
        {"View Chart", "cmdChart", "Control chart of the log with its warning and action limits",
         &ParseIt::showChart},
    };
    auto *column = new QVBoxLayout;
    for (const auto &row : rows) {
        QPushButton *b =
            addButton(QString::fromUtf8(row.caption), row.name, QString::fromUtf8(row.toolTip));
        connect(b, &QPushButton::clicked, this, [this, action = row.action] {
            (this->*action)();
            refresh();
        });
        column->addWidget(b);
    }
    QPushButton *exit =
        addButton(QStringLiteral("Exit"), "CloseForm", QStringLiteral("Exit Program"));
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
    column->addWidget(exit);
    column->addWidget(buildModeFrame());
    column->addStretch();
    return column;
}

QWidget *ParseIt::buildModeFrame()
{
    auto *frame = new QGroupBox(QStringLiteral("Select Mode"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto *layout = new QVBoxLayout(frame);
    m_gainOption = new QRadioButton(QStringLiteral("% Gain drift"), frame);
    m_gainOption->setObjectName(QStringLiteral("Option1_1"));
    m_keVOption = new QRadioButton(QStringLiteral("keV drift"), frame);
    m_keVOption->setObjectName(QStringLiteral("Option1_2"));
    int option = 1;
    for (QRadioButton *o : {m_gainOption, m_keVOption}) {
        // Not exclusive: a settings record may leave neither option selected.
        o->setAutoExclusive(false);
        layout->addWidget(o);
        connect(o, &QRadioButton::clicked, this, [this, option] {
            m_model.selectOption(option);
            refresh();
        });
        ++option;
    }
    // The mode frame keeps the height its two options need, whatever the status holds.
    frame->setMinimumHeight(frame->sizeHint().height());
    return frame;
}

QLayout *ParseIt::buildBoxGrid()
{
    const struct
    {
        const char *label;
        const char *name;
    } rows[] = {
        {"ID:", "IDtext"},
        {"Date:", "DateText"},
        {"Time:", "TimeText"},
        {"Center:", "CenterText"},
        {"Elapsed:", "ElapsedText"},
        {"keV Drift:", "keVdrift"},
        {"% Drift:", "PercentDrift"},
    };
    auto *grid = new QGridLayout;
    int row = 0;
    for (const auto &r : rows)
        addBox(grid, row++, QString::fromUtf8(r.label), r.name);
    grid->setRowStretch(row, 1);
    return grid;
}

QWidget *ParseIt::buildStatusArea()
{
    // Verdicts and failures: nothing the window does fails silently. A long
    // verdict scrolls in a place of its own height instead of squeezing the
    // boxes and the mode frame above it.
    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("StatusText"));
    m_status->setWordWrap(true);
    m_status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *area = new QScrollArea(this);
    area->setObjectName(QStringLiteral("StatusArea"));
    area->setWidget(m_status);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setFixedHeight(area->fontMetrics().lineSpacing() * kStatusLines + 6);
    return area;
}

void ParseIt::readReport()
{
    m_model.readLmnFile();
}

void ParseIt::appendData()
{
    m_model.appendIt();
    if (m_chartView && m_chartView->isVisible())
        showChart();
}

void ParseIt::viewReport()
{
    m_model.viewReport();
}

void ParseIt::viewLog()
{
    m_model.viewLog();
}

QLineEdit *ParseIt::addBox(QGridLayout *grid, int row, const QString &label, const char *name)
{
    auto *box = new QLineEdit(this);
    box->setObjectName(QLatin1String(name));
    auto *caption = new QLabel(label, this);
    caption->setBuddy(box);
    grid->addWidget(caption, row, 0);
    grid->addWidget(box, row, 1);
    m_boxes.append({box, box->objectName()});
    return box;
}

QPushButton *ParseIt::addButton(const QString &caption, const char *name, const QString &toolTip)
{
    auto *b = new QPushButton(caption, this);
    b->setObjectName(QLatin1String(name));
    if (!toolTip.isEmpty())
        b->setToolTip(toolTip);
    return b;
}

void ParseIt::refresh()
{
    for (const auto &[box, name] : m_boxes) {
        const QString text = m_model.text(name);
        if (box->text() != text)
            box->setText(text);
    }
    m_gainOption->setChecked(m_model.optionSelected(1));
    m_keVOption->setChecked(m_model.optionSelected(2));
    m_status->setText(m_model.statusText());
}

void ParseIt::showChart()
{
    const std::optional<QcCharts> charts = m_model.chartsToShow();
    if (!charts)
        return;
    if (!m_chartView)
        m_chartView = new DriftChartView(this);
    m_chartView->setCharts(*charts);
    m_chartView->show();
    m_chartView->raise();
}

void ParseIt::closeEvent(QCloseEvent *event)
{
    // Settings are saved however the window goes, once.
    if (!m_saved) {
        m_model.saveSettings();
        m_saved = true;
    }
    event->accept();
}

} // namespace lumen::driftlog
