#pragma once

#include "driftlog/core/ControlChart.h"

#include <QWidget>
#include <optional>

namespace lumen::driftlog {

/** The control chart in a window of its own; it grows with the window. */
class DriftChartView : public QWidget
{
    Q_OBJECT
public:
    explicit DriftChartView(QWidget *parent = nullptr);

    void setChart(const ControlChart &chart);
    const std::optional<ControlChart> &chart() const { return m_chart; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::optional<ControlChart> m_chart;
};

} // namespace lumen::driftlog
