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

    auto *frameReport = new QGroupBox(QStringLiteral("Path and file name for Lmn Report"), this);
    frameReport->setObjectName(QStringLiteral("FrameReport"));
    auto *reportLayout = new QHBoxLayout(frameReport);
    auto *rpath = new QLineEdit(frameReport);
    rpath->setObjectName(QStringLiteral("Rpath"));
    reportLayout->addWidget(rpath);
    m_boxes.append({rpath, rpath->objectName()});
    top->addWidget(frameReport);

    auto *middle = new QHBoxLayout;
    auto *buttons = new QVBoxLayout;
    QPushButton *read = addButton(
        QStringLiteral("Read Lmn Results Text file"), "ReadLmnFile",
        QStringLiteral("Read the report file from LmnPro RAPID SCAN or ROI DIRECTED anaylsys"));
    QPushButton *append =
        addButton(QStringLiteral("Append Data"), "AppendIT",
                  QStringLiteral("Add a new record with the current data to the Results database"));
    QPushButton *viewReport =
        addButton(QStringLiteral("View Lmn Results Text file"), "Command1", QString());
    QPushButton *viewLog = addButton(QStringLiteral("View StabData.txt"), "Command2", QString());
    QPushButton *viewChart =
        addButton(QStringLiteral("View Chart"), "cmdChart",
                  QStringLiteral("Control chart of the log with its warning and action limits"));
    QPushButton *exit =
        addButton(QStringLiteral("Exit"), "CloseForm", QStringLiteral("Exit Program"));
    for (QPushButton *b : {read, append, viewReport, viewLog, viewChart, exit})
        buttons->addWidget(b);

    auto *frame1 = new QGroupBox(QStringLiteral("Select Mode"), this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    auto *modeLayout = new QVBoxLayout(frame1);
    m_gainOption = new QRadioButton(QStringLiteral("% Gain drift"), frame1);
    m_gainOption->setObjectName(QStringLiteral("Option1_1"));
    m_keVOption = new QRadioButton(QStringLiteral("keV drift"), frame1);
    m_keVOption->setObjectName(QStringLiteral("Option1_2"));
    // Not exclusive: a settings record may leave neither option selected.
    for (QRadioButton *o : {m_gainOption, m_keVOption}) {
        o->setAutoExclusive(false);
        modeLayout->addWidget(o);
    }
    // The mode frame keeps the height its two options need, whatever the status holds.
    frame1->setMinimumHeight(frame1->sizeHint().height());
    buttons->addWidget(frame1);
    buttons->addStretch();
    middle->addLayout(buttons);

    auto *grid = new QGridLayout;
    addBox(grid, 0, QStringLiteral("ID:"), "IDtext");
    addBox(grid, 1, QStringLiteral("Date:"), "DateText");
    addBox(grid, 2, QStringLiteral("Time:"), "TimeText");
    addBox(grid, 3, QStringLiteral("Center:"), "CenterText");
    addBox(grid, 4, QStringLiteral("Elapsed:"), "ElapsedText");
    addBox(grid, 5, QStringLiteral("keV Drift:"), "keVdrift");
    addBox(grid, 6, QStringLiteral("% Drift:"), "PercentDrift");
    grid->setRowStretch(7, 1);
    middle->addLayout(grid, 1);
    top->addLayout(middle);
    // Verdicts and failures: nothing the window does fails silently. A long
    // verdict scrolls in a place of its own height instead of squeezing the
    // boxes and the mode frame above it.
    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("StatusText"));
    m_status->setWordWrap(true);
    m_status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *statusArea = new QScrollArea(this);
    statusArea->setObjectName(QStringLiteral("StatusArea"));
    statusArea->setWidget(m_status);
    statusArea->setWidgetResizable(true);
    statusArea->setFrameShape(QFrame::NoFrame);
    statusArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    statusArea->setFixedHeight(statusArea->fontMetrics().lineSpacing() * kStatusLines + 6);
    top->addWidget(statusArea);

    for (const auto &[box, name] : m_boxes) {
        connect(box, &QLineEdit::textEdited, this,
                [this, name = name](const QString &t) { m_model.setText(name, t); });
    }
    connect(m_gainOption, &QRadioButton::clicked, this, [this] {
        m_model.selectOption(1);
        refresh();
    });
    connect(m_keVOption, &QRadioButton::clicked, this, [this] {
        m_model.selectOption(2);
        refresh();
    });
    connect(read, &QPushButton::clicked, this, [this] {
        m_model.readLmnFile();
        refresh();
    });
    connect(append, &QPushButton::clicked, this, [this] {
        m_model.appendIt();
        if (m_chartView && m_chartView->isVisible())
            showChart();
        refresh();
    });
    connect(viewReport, &QPushButton::clicked, this, [this] {
        m_model.viewReport();
        refresh();
    });
    connect(viewLog, &QPushButton::clicked, this, [this] {
        m_model.viewLog();
        refresh();
    });
    connect(viewChart, &QPushButton::clicked, this, [this] {
        showChart();
        refresh();
    });
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
    m_model.reportLateViewFailures(this, [this] { refresh(); });

    resize(620, 360);
    refresh();
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
