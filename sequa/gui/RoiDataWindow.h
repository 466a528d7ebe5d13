#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace lumen::sequa {

/**
 * frmROIdata, "ROI data": every field the host holds for one ROI, as text in
 * a fixed-pitch font. It shows "No Data" until showData() fills it.
 */
class RoiDataWindow : public QWidget
{
    Q_OBJECT

public:
    explicit RoiDataWindow(QWidget *parent = nullptr);

    void showData(const QString &text);
    QString text() const;

private:
    QPlainTextEdit *m_text = nullptr;
};

} // namespace lumen::sequa
