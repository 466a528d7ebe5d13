#pragma once

#include "transpec/core/ConvertModel.h"
#include "transpec/core/SpectrumGraph.h"

#include <QWidget>
#include <vector>

namespace lumen::transpec {

/** `GraphSpm`: the bar graph of the loaded channels, drawn in the graph's own units. */
class GraphWidget : public QWidget
{
    Q_OBJECT

public:
    explicit GraphWidget(const ConvertModel &model, QWidget *parent = nullptr);

    /** Recomputes the lines from the model (after a load). */
    void refresh();
    int lineCount() const { return int(m_lines.size()); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const ConvertModel &m_model;
    std::vector<SpectrumGraph::Line> m_lines;
};

} // namespace lumen::transpec
