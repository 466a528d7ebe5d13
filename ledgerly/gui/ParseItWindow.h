#pragma once

#include "ledgerly/core/ArchiverModel.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace lumen::ledgerly {

class ViewRWindow;

/**
 * The archiver's main window: shows the model and forwards clicks to it.
 * Closing it by any means saves the settings files in the settings folder.
 */
class ParseItWindow : public QWidget
{
    Q_OBJECT

public:
    /** The window over `model`, whose settings live in `settingsFolder`. */
    ParseItWindow(ArchiverModel &model, QString settingsFolder, QWidget *parent = nullptr);

    /** Shows the model's texts, labels, mode and button colour. */
    void refresh();
    /** The database viewer while it is open, else nullptr. */
    ViewRWindow *viewer() const;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *buildModeFrame();
    /** The buttons, each a row of name, caption, tool-tip, place and what it does. */
    QLayout *buildButtonGrid();
    QWidget *buildStatsFrame();
    /** A frame holding one path box, made into `box`. */
    QWidget *pathFrame(const QString &title, const char *name, QLineEdit *&box);
    void takePaths();
    void readReport();
    void appendRecord();
    void resetDatabase();
    void viewDatabase();
    void viewReport();
    void exitWindow();

    ArchiverModel &m_model;
    QString m_settingsFolder;
    QLineEdit *m_rpath = nullptr;
    QLineEdit *m_apath = nullptr;
    QLabel *m_numbRec = nullptr;
    QLabel *m_numFields = nullptr;
    QLabel *m_numbIso = nullptr;
    QLabel *m_currentFile = nullptr;
    QPushButton *m_appendIt = nullptr;
    QRadioButton *m_options[4] = {};
    QPointer<ViewRWindow> m_viewer;
    bool m_saved = false;
};

} // namespace lumen::ledgerly
