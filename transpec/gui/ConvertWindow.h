#pragma once

#include "transpec/core/ConvertModel.h"

#include <QHash>
#include <QWidget>

class QLineEdit;
class QPushButton;

namespace lumen::transpec {

class GraphWidget;

/** The window `Convert`: shows the model and forwards clicks and edits to it. */
class ConvertWindow : public QWidget
{
    Q_OBJECT

public:
    explicit ConvertWindow(ConvertModel &model, QWidget *parent = nullptr);

    QLineEdit *box(const QString &name) const { return m_boxes.value(name); }
    GraphWidget *graph() const { return m_graph; }

    /** Shows the model's state in the controls. */
    void refresh();

private:
    QLineEdit *addBox(const QString &name);

    ConvertModel &m_model;
    QHash<QString, QLineEdit *> m_boxes;
    QPushButton *m_load = nullptr;
    QPushButton *m_exit = nullptr;
    QPushButton *m_save = nullptr;
    GraphWidget *m_graph = nullptr;
};

} // namespace lumen::transpec
