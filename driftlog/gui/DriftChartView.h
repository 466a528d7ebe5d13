#pragma once

#include "driftlog/core/QcCharts.h"

#include <QWidget>
#include <optional>

namespace lumen::driftlog {

/** The three control charts in a window of their own; they grow with the window. */
class DriftChartView : public QWidget
{
    Q_OBJECT
public:
    explicit DriftChartView(QWidget *parent = nullptr);

    void setCharts(const QcCharts &charts);
    const std::optional<QcCharts> &charts() const { return m_charts; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::optional<QcCharts> m_charts;
};

} // namespace lumen::driftlog
