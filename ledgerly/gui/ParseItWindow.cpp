#include "ledgerly/gui/ParseItWindow.h"

#include "common/core/FixedText.h"
#include "common/core/Operator.h"
#include "ledgerly/gui/ViewRWindow.h"

#include <QCloseEvent>
#include <QFile>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace lumen::ledgerly {

namespace {

QPushButton *button(const char *name, const QString &caption, const QString &toolTip,
                    QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    if (!toolTip.isEmpty())
        b->setToolTip(toolTip);
    return b;
}

QLabel *valueLabel(const char *name, const QString &toolTip, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setToolTip(toolTip);
    return label;
}

} // namespace

ParseItWindow::ParseItWindow(ArchiverModel &model, QString settingsFolder, QWidget *parent)
    : QWidget(parent), m_model(model), m_settingsFolder(std::move(settingsFolder))
{
    setObjectName(QStringLiteral("ParseIt"));
    setWindowTitle(ArchiverModel::title());

    auto *modes = new QGroupBox(QStringLiteral("Select Append Mode"), this);
    auto *modeLayout = new QVBoxLayout(modes);
    const QString captions[4] = {QStringLiteral("APPEND ACTIVITY"), QStringLiteral("NET COUNTS"),
                                 QStringLiteral("GROSS COUNTS"), QStringLiteral("BKG COUNTS")};
    for (int i = 0; i < 4; ++i) {
        m_options[i] = new QRadioButton(captions[i], modes);
        m_options[i]->setObjectName(QStringLiteral("Option1_%1").arg(i + 1));
        modeLayout->addWidget(m_options[i]);
        connect(m_options[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                m_model.selectOption(i + 1);
        });
    }

    auto *readButton = button(
        "ReadLmnFile", QStringLiteral("Read Lmn Results Text file"),
        QStringLiteral("Read the report file from LmnPro RAPID SCAN or ROI DIRECTED anaylsys"),
        this);
    m_appendIt = button(
        "AppendIT", QStringLiteral("Append Results Database"),
        QStringLiteral("Add a new record with the current data to the Results database"), this);
    auto *createButton = button(
        "CreateDb", QStringLiteral("Reset Results DataBase"),
        QStringLiteral(
            "Delete the present database and create a new one. All saved data will be lost."),
        this);
    auto *viewButton = button("ViewR", QStringLiteral("Edit Results DataBase"), QString(), this);
    auto *reportButton = button("Command1", QStringLiteral("View Results.TXT"), QString(), this);
    auto *exitButton =
        button("CloseForm", QStringLiteral("Exit"), QStringLiteral("Exit Program"), this);

    auto *reportFrame =
        new QGroupBox(QStringLiteral("Path and file name for Lmn Results Text File Report"), this);
    m_rpath = new QLineEdit(reportFrame);
    m_rpath->setObjectName(QStringLiteral("Rpath"));
    (new QVBoxLayout(reportFrame))->addWidget(m_rpath);
    auto *databaseFrame =
        new QGroupBox(QStringLiteral("Path and file name for Results DataBase"), this);
    m_apath = new QLineEdit(databaseFrame);
    m_apath->setObjectName(QStringLiteral("Apath"));
    (new QVBoxLayout(databaseFrame))->addWidget(m_apath);

    auto *stats = new QGroupBox(QStringLiteral("Stats"), this);
    auto *statsLayout = new QFormLayout(stats);
    m_numbRec =
        valueLabel("NumbRec", QStringLiteral("Number of records in the Results database"), stats);
    m_numFields =
        valueLabel("NumFields", QStringLiteral("Number of fields in the Results database"), stats);
    m_numbIso = valueLabel(
        "NumbIso", QStringLiteral("Number of isotopes found in the analysis report"), stats);
    statsLayout->addRow(QStringLiteral("Number of Records:"), m_numbRec);
    statsLayout->addRow(QStringLiteral("Number of Fields:"), m_numFields);
    statsLayout->addRow(QStringLiteral("Number of  Isotopes:"), m_numbIso);
    m_currentFile = valueLabel("CurrentFile", QString(), this);

    auto *buttons = new QGridLayout;
    buttons->addWidget(readButton, 0, 0);
    buttons->addWidget(m_appendIt, 0, 1);
    buttons->addWidget(createButton, 1, 0);
    buttons->addWidget(viewButton, 1, 1);
    buttons->addWidget(reportButton, 2, 0);
    buttons->addWidget(exitButton, 2, 1);
    auto *top = new QHBoxLayout;
    top->addWidget(modes);
    top->addLayout(buttons);
    top->addWidget(stats);
    auto *idRow = new QHBoxLayout;
    idRow->addWidget(new QLabel(QStringLiteral("ID:"), this));
    idRow->addWidget(m_currentFile, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(idRow);
    layout->addWidget(reportFrame);
    layout->addWidget(databaseFrame);

    connect(readButton, &QPushButton::clicked, this, [this] {
        takePaths();
        m_model.readLmnFile();
        refresh();
    });
    connect(m_appendIt, &QPushButton::clicked, this, [this] {
        takePaths();
        m_model.setAskBeforeAppendingAgain(true);
        m_model.appendIt();
        refresh();
    });
    connect(createButton, &QPushButton::clicked, this, [this] {
        takePaths();
        m_model.createDb();
        refresh();
    });
    connect(viewButton, &QPushButton::clicked, this, [this] { viewDatabase(); });
    connect(reportButton, &QPushButton::clicked, this, [this] {
        takePaths();
        m_model.viewResultsText();
    });
    connect(exitButton, &QPushButton::clicked, this, &QWidget::close);

    refresh();
}

void ParseItWindow::takePaths()
{
    m_model.setRpath(m_rpath->text());
    m_model.setApath(m_apath->text());
}

void ParseItWindow::refresh()
{
    m_rpath->setText(m_model.rpath());
    m_apath->setText(m_model.apath());
    m_numbRec->setText(m_model.numbRecText());
    m_numFields->setText(m_model.numFieldsText());
    m_numbIso->setText(m_model.numbIsoText());
    m_currentFile->setText(m_model.currentFileText());
    if (m_model.appendMode() >= 0 && m_model.appendMode() < 4)
        m_options[m_model.appendMode()]->setChecked(true);
    if (m_model.appendButtonRed()) {
        // Stays red for the rest of the run: the operator sees this report was archived.
        QPalette palette = m_appendIt->palette();
        palette.setColor(QPalette::Button, QColor(255, 0, 0));
        m_appendIt->setPalette(palette);
        m_appendIt->setAutoFillBackground(true);
        m_appendIt->setStyleSheet(QStringLiteral("background-color: rgb(255, 0, 0);"));
    }
}

void ParseItWindow::viewDatabase()
{
    takePaths();
    if (!m_model.checkViewerPath())
        return;
    // Open already: only the stored widths are applied again and it comes to the front.
    if (!m_viewer) {
        m_viewer = new ViewRWindow(m_model.gridColumnWidthsForViewer(), this);
        m_viewer->setAttribute(Qt::WA_DeleteOnClose);
        m_viewer->load(m_model.apath());
    }
    m_viewer->applyWidths();
    m_viewer->show();
    m_viewer->raise();
    m_viewer->activateWindow();
}

ViewRWindow *ParseItWindow::viewer() const
{
    return m_viewer.data();
}

void ParseItWindow::closeEvent(QCloseEvent *event)
{
    if (m_viewer)
        m_viewer->close(); // keeps its column widths before they are saved
    if (!m_saved) {
        takePaths();
        m_model.saveSettings(m_settingsFolder);
        m_saved = true;
    }
    event->accept();
}

} // namespace lumen::ledgerly
