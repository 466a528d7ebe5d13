#include "ledgerly/gui/ViewRWindow.h"

#include "ledgerly/core/ResultsDatabase.h"

#include "common/core/Operator.h"
#include "ledgerly/core/ArchiverModel.h"
#include "ledgerly/core/ResultsTableModel.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QTableView>

namespace lumen::ledgerly {

namespace {

QLabel *valueLabel(const char *name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setMinimumWidth(60);
    return label;
}

} // namespace

ViewRWindow::ViewRWindow(ArchiverSettings::Widths &widths, QWidget *parent)
    : QWidget(parent, Qt::Window), m_widths(widths)
{
    setObjectName(QStringLiteral("formViewR"));
    setWindowTitle(ViewerModel::title());

    // The top strip holds the action and the labels; the grid keeps its own
    // geometry (see layoutGrid), so no layout manages the window as a whole.
    auto *strip = m_strip = new QWidget(this);
    auto *stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(6, 6, 6, 0);
    m_delete = new QPushButton(QStringLiteral("Delete record"), strip);
    m_delete->setToolTip(
        QStringLiteral("Delete the selected record (the last one shown when none is selected)"));
    m_delete->setObjectName(QStringLiteral("Command1"));
    m_total = valueLabel("TotalLable", m_model.totalLable, strip);
    m_fields = valueLabel("FieldCount", m_model.fieldCount, strip);
    m_current = valueLabel("CurrentRecord", m_model.currentRecord, strip);
    auto *exportButton = new QPushButton(QStringLiteral("Export CSV…"), strip);
    exportButton->setObjectName(QStringLiteral("ExportCsv"));
    m_filter = new QLineEdit(strip);
    m_filter->setObjectName(QStringLiteral("txtFilter"));
    m_filter->setPlaceholderText(QStringLiteral("Filter ID Text"));
    m_filter->setClearButtonEnabled(true);
    stripLayout->addWidget(m_delete);
    stripLayout->addWidget(exportButton);
    stripLayout->addWidget(m_filter);
    stripLayout->addSpacing(12);
    stripLayout->addWidget(new QLabel(QStringLiteral("# Records:"), strip));
    stripLayout->addWidget(m_total);
    stripLayout->addWidget(new QLabel(QStringLiteral("# Fields:"), strip));
    stripLayout->addWidget(m_fields);
    stripLayout->addWidget(new QLabel(QStringLiteral("Current Record:"), strip));
    stripLayout->addWidget(m_current);
    stripLayout->addStretch(1);
    strip->adjustSize();
    strip->move(0, 0);
    strip->resize(800, strip->sizeHint().height());

    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("DBGridR"));
    // IDs and file names are read whole: one line a record, no ellipsis.
    m_grid->setWordWrap(false);
    m_grid->setTextElideMode(Qt::ElideNone);
    m_gridTop = strip->sizeHint().height() + 6;
    m_grid->move(0, m_gridTop);

    // Stands where the design's data control shows its caption, below the grid.
    m_dataBar = new QLabel(QStringLiteral("Results.MDB"), this);
    m_dataBar->setObjectName(QStringLiteral("SampleRCaption"));
    m_dataBar->setFrameShape(QFrame::Panel);
    m_dataBar->setAlignment(Qt::AlignCenter);
    m_dataBar->resize(200, m_dataBar->sizeHint().height() + 4);

    connect(exportButton, &QPushButton::clicked, this, [this] { m_model.exportCsv(); });
    connect(m_delete, &QPushButton::clicked, this, [this] {
        m_model.deleteSelectedRecord();
        refresh();
    });
    resize(820, 480);
}

bool ViewRWindow::load(const QString &apath)
{
    const bool loaded = m_model.load(apath);
    if (!loaded)
        lumen::currentOperator().messageBox(QStringLiteral("Could not open the database [ ") +
                                                apath + QStringLiteral(" ] <") +
                                                m_model.loadError() + u'>',
                                            ArchiverModel::title(), lumen::MessageButtons::Ok);
    if (ResultsTableModel *records = m_model.records()) {
        m_grid->setModel(records);
        connect(records, &ResultsTableModel::writeFailed, this, [](const QString &description) {
            lumen::currentOperator().messageBox(QStringLiteral("Could not save the change <") +
                                                    description + u'>',
                                                ArchiverModel::title(), lumen::MessageButtons::Ok);
        });
        // Sorted only when a header is clicked: opening keeps the table's order
        // and reads the keys once.
        QHeaderView *header = m_grid->horizontalHeader();
        header->setSectionsClickable(true);
        connect(header, &QHeaderView::sectionClicked, records, [header, records](int column) {
            const bool again =
                header->isSortIndicatorShown() && header->sortIndicatorSection() == column;
            const Qt::SortOrder order = again && header->sortIndicatorOrder() == Qt::AscendingOrder
                                            ? Qt::DescendingOrder
                                            : Qt::AscendingOrder;
            header->setSortIndicator(column, order);
            header->setSortIndicatorShown(true);
            records->sort(column, order);
        });
        connect(m_filter, &QLineEdit::editingFinished, this, [this] {
            m_model.setIdFilter(m_filter->text());
            refresh();
        });
        connect(m_grid->selectionModel(), &QItemSelectionModel::currentChanged, this,
                [this](const QModelIndex &current) {
                    m_model.currentRowChanged(current.row());
                    refresh();
                });
    }
    refresh();
    return loaded;
}

void ViewRWindow::applyWidths()
{
    const int columns = m_grid->model() ? m_grid->model()->columnCount() : 0;
    const auto widths = ViewerModel::widthsToApply(m_widths, columns, twipsPerPixel());
    // The header columns the operator has not sized fit their texts.
    const int fixed = int(ResultsDatabase::fixedColumns().size());
    for (int column = 0; column < std::min(columns, fixed); ++column)
        m_grid->resizeColumnToContents(column);
    for (const auto &[column, width] : widths)
        m_grid->setColumnWidth(column, width);
}

void ViewRWindow::storeWidths()
{
    QList<double> widths;
    const int columns = m_grid->model() ? m_grid->model()->columnCount() : 0;
    for (int i = 0; i < columns; ++i)
        widths << m_grid->columnWidth(i);
    ViewerModel::storeWidths(m_widths, widths, twipsPerPixel());
}

double ViewRWindow::twipsPerPixel() const
{
    return ViewerModel::twipsPerPixel(m_grid->logicalDpiX());
}

void ViewRWindow::refresh()
{
    m_total->setText(m_model.totalLable);
    m_fields->setText(m_model.fieldCount);
    m_current->setText(m_model.currentRecord);
}

void ViewRWindow::layoutGrid()
{
    m_strip->resize(width(), m_strip->height());
    const int dataHeight = m_dataBar->height();
    const auto grid = ViewerModel::gridGeometry(width(), height(), dataHeight, m_gridTop);
    if (!grid)
        return; // too small for a grid: left as it was
    m_grid->setGeometry(*grid);
    m_dataBar->setGeometry(grid->left(), grid->bottom() + 1 + dataHeight / 2, grid->width(),
                           dataHeight);
}

void ViewRWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutGrid();
}

void ViewRWindow::closeEvent(QCloseEvent *event)
{
    storeWidths();
    event->accept();
}

} // namespace lumen::ledgerly
