#include "sequa/gui/MessagePanelWindow.h"

#include <QVBoxLayout>

namespace lumen::sequa {

MessagePanelWindow::MessagePanelWindow(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), m_label(new QLabel(this))
{
    setObjectName(QStringLiteral("MsgForm"));
    setWindowTitle(QStringLiteral("Message"));
    m_label->setObjectName(QStringLiteral("MsgPanel"));
    m_label->setWordWrap(true);
    m_label->setAlignment(Qt::AlignCenter);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    resize(420, 120);
}

void MessagePanelWindow::setText(const QString &text)
{
    m_label->setText(text);
}

} // namespace lumen::sequa
