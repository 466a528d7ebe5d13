#pragma once

#include "transpec/core/ConvertModel.h"
#include "transpec/core/SpectrumView.h"

#include <QWidget>
#include <optional>

namespace lumen::transpec {

/**
 * `GraphSpm`: the loaded channels as bars, the tallest in view filling the
 * height, with a channel axis below, an energy axis above when C(1) > 0 and
 * a counts axis at the left. Drag across a range or turn the wheel to zoom,
 * double-click (or resetZoom) to see every channel again; the channel,
 * energy and counts under the cursor are shown in the top corner.
 */
class GraphWidget : public QWidget
{
    Q_OBJECT

public:
    explicit GraphWidget(const ConvertModel &model, QWidget *parent = nullptr);

    /** Takes the channels and calibration from the model after a load, showing every channel. */
    void refresh();
    /** Takes only the calibration (after an edit of C(0) to C(3)), keeping the zoom. */
    void refreshCalibration();
    void setLogScale(bool log);
    void resetZoom();
    const SpectrumView &view() const { return m_view; }
    /** Bars drawn at the last paint. */
    int lineCount() const { return m_lineCount; }
    /** The plot area inside the axes, in widget pixels. */
    QRect plotArea() const;
    /** The top row: the counts axis title at its left. */
    QRect titleRow() const;
    /** Where the cursor readout is drawn: the top row right of the counts title. */
    QRect readoutArea() const;
    QString countsTitle() const;

Q_SIGNALS:
    void readoutChanged(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    double fractionAt(double x) const;
    void drawAxes(class QPainter &painter, const QRect &plot) const;

    const ConvertModel &m_model;
    SpectrumView m_view;
    std::optional<double> m_dragFrom; ///< channel where a drag began
    double m_dragTo = 0;
    QString m_readout;
    int m_lineCount = 0;
};

} // namespace lumen::transpec
