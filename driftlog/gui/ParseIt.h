#pragma once

#include "driftlog/core/DriftlogModel.h"

#include <QList>
#include <QWidget>
#include <utility>

class QGridLayout;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace lumen::driftlog {

class DriftChartView;

/** The window "Data Orginizer": shows the model's texts and forwards clicks to it. */
class ParseIt : public QWidget
{
    Q_OBJECT
public:
    /** Starts up with the settings and log in `folder`. */
    explicit ParseIt(const QString &folder, QWidget *parent = nullptr);

    DriftlogModel &model() { return m_model; }
    /** Shows the model's current texts and option states. */
    void refresh();
    /** Opens (or brings up and redraws) the control chart of the log. */
    void showChart();
    /** The chart window; null until the chart was first shown. */
    DriftChartView *chartView() const { return m_chartView; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *buildReportFrame();
    /** The buttons, each a row of caption, name, tool-tip and what it does, then the mode frame. */
    QLayout *buildButtonColumn();
    QWidget *buildModeFrame();
    QLayout *buildBoxGrid();
    QWidget *buildStatusArea();
    void readReport();
    void appendData();
    void viewReport();
    void viewLog();
    QLineEdit *addBox(QGridLayout *grid, int row, const QString &label, const char *name);
    QPushButton *addButton(const QString &caption, const char *name, const QString &toolTip);

    DriftlogModel m_model;
    QList<std::pair<QLineEdit *, QString>> m_boxes; ///< each box with its name in the model
    QRadioButton *m_gainOption = nullptr;
    QRadioButton *m_keVOption = nullptr;
    QLabel *m_status = nullptr;
    DriftChartView *m_chartView = nullptr;
    bool m_saved = false;
};

} // namespace lumen::driftlog
