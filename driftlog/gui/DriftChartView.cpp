#include "driftlog/gui/DriftChartView.h"

#include "driftlog/gui/DriftChartPainter.h"

#include <QPainter>

namespace lumen::driftlog {

DriftChartView::DriftChartView(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("DriftChart"));
    setWindowTitle(QStringLiteral("Drift control chart"));
    resize(900, 540);
}

void DriftChartView::setChart(const ControlChart &chart)
{
    m_chart = chart;
    update();
}

void DriftChartView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_chart)
        DriftChartPainter::paint(painter, rect(), *m_chart);
}

} // namespace lumen::driftlog
