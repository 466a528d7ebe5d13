#pragma once

#include "ledgerly/core/ArchiverSettings.h"
#include "ledgerly/core/ViewerModel.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace lumen::ledgerly {

/**
 * The database viewer (`formViewR`): the table in an editable grid, the
 * record and field counts, the current record, and "Delete last record".
 * Closing it keeps the grid's column widths in the archiver's widths.
 */
class ViewRWindow : public QWidget
{
    Q_OBJECT

public:
    /** A viewer whose column widths are read from and kept in `widths` (owned by the caller). */
    explicit ViewRWindow(ArchiverSettings::Widths &widths, QWidget *parent = nullptr);

    /** Load: reads the table at `apath` into the grid and the labels. */
    bool load(const QString &apath);
    /** Gives the grid's columns the stored widths over 100 (twips). */
    void applyWidths();
    /** Unload: the grid's column widths go into the stored widths. */
    void storeWidths();

    ViewerModel &model() { return m_model; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void refresh();
    void layoutGrid();
    double twipsPerPixel() const;

    ArchiverSettings::Widths &m_widths;
    ViewerModel m_model;
    QTableView *m_grid = nullptr;
    QWidget *m_strip = nullptr;
    QLabel *m_dataBar = nullptr;
    QLabel *m_total = nullptr;
    QLabel *m_fields = nullptr;
    QLabel *m_current = nullptr;
    QPushButton *m_delete = nullptr;
    QLineEdit *m_filter = nullptr;
    int m_gridTop = 0; ///< pixels, fixed when the window loads
};

} // namespace lumen::ledgerly
