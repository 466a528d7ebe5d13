#include "transpec/gui/GraphWidget.h"

#include <QLineF>
#include <QPainter>
#include <QPen>

namespace lumen::transpec {

GraphWidget::GraphWidget(const ConvertModel &model, QWidget *parent)
    : QWidget(parent), m_model(model)
{
    setObjectName(QStringLiteral("GraphSpm"));
    setMinimumSize(300, 120);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

void GraphWidget::refresh()
{
    m_lines = SpectrumGraph::lines(m_model.channels(), m_model.graphChannels());
    update();
}

void GraphWidget::paintEvent(QPaintEvent *)
{
    if (m_lines.empty())
        return;
    QPainter painter(this);
    painter.setWindow(0, 0, int(SpectrumGraph::kWidth), int(SpectrumGraph::kHeight));
    QPen pen(QColor(255, 0, 0));
    pen.setCosmetic(true); // one pixel wide whatever the graph's units
    painter.setPen(pen);
    std::vector<QLineF> lines;
    lines.reserve(m_lines.size());
    for (const SpectrumGraph::Line &l : m_lines)
        lines.emplace_back(l.x, l.yBase, l.x, l.yTop);
    painter.drawLines(lines.data(), int(lines.size()));
}

} // namespace lumen::transpec
