#include "driftlog/gui/DriftChartView.h"

#include "driftlog/gui/DriftChartPainter.h"

#include <QPainter>

namespace lumen::driftlog {

DriftChartView::DriftChartView(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("DriftChart"));
    setWindowTitle(QStringLiteral("Drift control chart"));
    setMinimumSize(360, 300); // the texts elide and wrap down to this
    resize(900, 760);
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
