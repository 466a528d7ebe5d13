#pragma once

#include <QLabel>
#include <QWidget>

namespace lumen::sequa {

/** MsgForm: the topmost, modeless message panel with its one label MsgPanel. */
class MessagePanelWindow : public QWidget
{
    Q_OBJECT

public:
    explicit MessagePanelWindow(QWidget *parent = nullptr);
    void setText(const QString &text);
    QString text() const { return m_label->text(); }

private:
    QLabel *m_label;
};

} // namespace lumen::sequa
