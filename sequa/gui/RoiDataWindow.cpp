#include "sequa/gui/RoiDataWindow.h"

#include "sequa/core/files/RoiDataText.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace lumen::sequa {

namespace {

// Whether a font's glyphs are all one width, which is what lines the labels'
// columns up. Asked of the glyphs themselves: fontconfig may call a font with
// fixed-width glyphs proportional (QFontInfo::fixedPitch() says no for Noto
// Sans Mono).
bool hasEqualGlyphWidths(const QFont &font)
{
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(QLatin1Char('0'));
    for (const QChar c : QStringLiteral("iWm. :-"))
        if (metrics.horizontalAdvance(c) != width)
            return false;
    return width > 0;
}

// Fixedsys where it exists, then fixed-pitch families found on most machines,
// then the system's fixed font.
QFont fixedPitchFont()
{
    for (const char *family :
         {"Fixedsys", "DejaVu Sans Mono", "Liberation Mono", "Noto Sans Mono", "Courier New"}) {
        QFont font(QString::fromLatin1(family));
        font.setStyleHint(QFont::TypeWriter);
        font.setFixedPitch(true);
        // A missing family is quietly replaced by another: take only the one asked for.
        if (QFontInfo(font).family().compare(font.family(), Qt::CaseInsensitive) == 0 &&
            hasEqualGlyphWidths(font))
            return font;
    }
    return QFontDatabase::systemFont(QFontDatabase::FixedFont);
}

} // namespace

RoiDataWindow::RoiDataWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmROIdata"));
    setWindowTitle(QStringLiteral("ROI data"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("ROItext"));
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setFont(fixedPitchFont());
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
