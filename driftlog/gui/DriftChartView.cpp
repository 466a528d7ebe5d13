#include "driftlog/gui/DriftChartView.h"

#include "driftlog/gui/DriftChartPainter.h"

#include <QPainter>
#include <QScreen>

namespace lumen::driftlog {

DriftChartView::DriftChartView(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("DriftChart"));
    setWindowTitle(QStringLiteral("Drift control chart"));
    setMinimumSize(360, 300); // the texts elide and wrap down to this
    // As large as it reads well, but never beyond the screen (a laptop at 125 % has 640 rows).
    QSize size(900, 760);
    if (const QScreen *shown = screen())
        size = size.boundedTo(shown->availableGeometry().size() - QSize(40, 80));
    resize(size.expandedTo(minimumSize()));
}

void DriftChartView::setCharts(const QcCharts &charts)
{
    m_charts = charts;
    update();
}

void DriftChartView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_charts)
        DriftChartPainter::paint(painter, rect(), *m_charts);
}

} // namespace lumen::driftlog
