#include "sequa/gui/RoiDataWindow.h"

#include "sequa/core/RoiDataText.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace lumen::sequa {

RoiDataWindow::RoiDataWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmROIdata"));
    setWindowTitle(QStringLiteral("ROI data"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("ROItext"));
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Fixedsys where it exists; otherwise the system's fixed-pitch font, so
    // the labels' columns still line up.
    QFont font(QStringLiteral("Fixedsys"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    if (!QFontInfo(font).fixedPitch())
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_text->setFont(font);
    m_text->setPlainText(RoiDataText::kNoData);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_text);
    resize(360, 330);
}

void RoiDataWindow::showData(const QString &text)
{
    // The box shows plain line feeds; the text itself ends its lines with CR LF.
    QString shown = text;
    m_text->setPlainText(shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

QString RoiDataWindow::text() const
{
    return m_text->toPlainText();
}

} // namespace lumen::sequa
