#pragma once

#include "transpec/core/ConvertModel.h"

#include <QHash>
#include <QWidget>
#include <vector>

class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;

namespace lumen::transpec {

class GraphWidget;

/** A box of a panel: its label and its name. */
struct PanelBox
{
    const char *label;
    QString name;
};
/** A panel's rows of boxes; a row of one box spans the panel. */
using PanelRows = std::vector<std::vector<PanelBox>>;

/**
 * The window `Convert`: shows the model and forwards clicks and edits to it.
 * The graph takes the window's spare room above the two panels of boxes,
 * which scroll when the window is short; below the save row a line says where the last
 * save went and what that file could not carry.
 */
class ConvertWindow : public QWidget
{
    Q_OBJECT

public:
    explicit ConvertWindow(ConvertModel &model, QWidget *parent = nullptr);

    QLineEdit *box(const QString &name) const { return m_boxes.value(name); }
    GraphWidget *graph() const { return m_graph; }
    /** The line that says where the last save went. */
    QLabel *savedLine() const { return m_saved; }

    /** Shows the model's state in the controls. */
    void refresh();

private:
    QLineEdit *addBox(const QString &name);
    QPushButton *addButton(const char *name, const QString &caption);
    /** A panel of boxes in a scrolling area of fixed width. */
    QWidget *panel(const char *name, const QString &title, const PanelRows &rows);
    /** The graph under its log-scale box and zoom button. */
    QLayout *graphColumn();

    ConvertModel &m_model;
    QHash<QString, QLineEdit *> m_boxes;
    QPushButton *m_load = nullptr;
    QPushButton *m_exit = nullptr;
    QPushButton *m_save = nullptr;
    QLabel *m_saved = nullptr;
    GraphWidget *m_graph = nullptr;
};

} // namespace lumen::transpec
