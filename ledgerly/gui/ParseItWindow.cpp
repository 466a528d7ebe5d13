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

    auto *top = new QHBoxLayout;
    top->addWidget(buildModeFrame());
    top->addLayout(buildButtonGrid());
    top->addWidget(buildStatsFrame());
    auto *idRow = new QHBoxLayout;
    idRow->addWidget(new QLabel(QStringLiteral("ID:"), this));
    m_currentFile = valueLabel("CurrentFile", QString(), this);
    idRow->addWidget(m_currentFile, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(idRow);
    layout->addWidget(pathFrame(
        QStringLiteral("Path and file name for Lmn Results Text File Report"), "Rpath", m_rpath));
    layout->addWidget(
        pathFrame(QStringLiteral("Path and file name for Results DataBase"), "Apath", m_apath));

    refresh();
}

QWidget *ParseItWindow::buildModeFrame()
{
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
    return modes;
}

QLayout *ParseItWindow::buildButtonGrid()
{
    const struct
    {
        const char *name;
        const char *caption;
        const char *toolTip;
        int row, column;
        void (ParseItWindow::*action)();
    } rows[] = {
        {"ReadLmnFile", "Read Lmn Results Text file",
         "Read the report file from LmnPro RAPID SCAN or ROI DIRECTED anaylsys", 0, 0,
         &ParseItWindow::readReport},
        {"AppendIT", "Append Results Database",
         "Add a new record with the current data to the Results database", 0, 1,
         &ParseItWindow::appendRecord},
        {"CreateDb", "Reset Results DataBase",
         "Delete the present database and create a new one. All saved data will be lost.", 1, 0,
         &ParseItWindow::resetDatabase},
        {"ViewR", "Edit Results DataBase", "", 1, 1, &ParseItWindow::viewDatabase},
        {"Command1", "View Results.TXT", "", 2, 0, &ParseItWindow::viewReport},
        {"CloseForm", "Exit", "Exit Program", 2, 1, &ParseItWindow::exitWindow},
    };
    auto *grid = new QGridLayout;
    for (const auto &r : rows) {
        QPushButton *b =
            button(r.name, QString::fromUtf8(r.caption), QString::fromUtf8(r.toolTip), this);
        connect(b, &QPushButton::clicked, this, [this, action = r.action] { (this->*action)(); });
        grid->addWidget(b, r.row, r.column);
        if (r.action == &ParseItWindow::appendRecord)
            m_appendIt = b;
    }
    return grid;
}

QWidget *ParseItWindow::buildStatsFrame()
{
    auto *stats = new QGroupBox(QStringLiteral("Stats"), this);
    auto *statsLayout = new QFormLayout(stats);
    const struct
    {
        const char *caption;
        const char *name;
        const char *toolTip;
        QLabel *ParseItWindow::*label;
    } rows[] = {
        {"Number of Records:", "NumbRec", "Number of records in the Results database",
         &ParseItWindow::m_numbRec},
        {"Number of Fields:", "NumFields", "Number of fields in the Results database",
         &ParseItWindow::m_numFields},
        {"Number of  Isotopes:", "NumbIso", "Number of isotopes found in the analysis report",
         &ParseItWindow::m_numbIso},
    };
    for (const auto &r : rows) {
        this->*r.label = valueLabel(r.name, QString::fromUtf8(r.toolTip), stats);
        statsLayout->addRow(QString::fromUtf8(r.caption), this->*r.label);
    }
    return stats;
}

QWidget *ParseItWindow::pathFrame(const QString &title, const char *name, QLineEdit *&box)
{
    auto *frame = new QGroupBox(title, this);
    box = new QLineEdit(frame);
    box->setObjectName(QString::fromLatin1(name));
    (new QVBoxLayout(frame))->addWidget(box);
    return frame;
}

void ParseItWindow::readReport()
{
    takePaths();
    m_model.readLmnFile();
    refresh();
}

void ParseItWindow::appendRecord()
{
    takePaths();
    m_model.setAskBeforeAppendingAgain(true);
    m_model.appendIt();
    refresh();
}

void ParseItWindow::resetDatabase()
{
    takePaths();
    m_model.createDb();
    refresh();
}

void ParseItWindow::viewReport()
{
    takePaths();
    m_model.viewResultsText();
}

void ParseItWindow::exitWindow()
{
    close();
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
