#pragma once

#include <QDialog>

class QLabel;
class QListWidget;

namespace lumen::sequa {

struct ScriptCheckReport;

/**
 * Check Script's answer: what `--check` finds, one finding a row, and the
 * estimated run time below. Activating a finding's row asks for its line.
 */
class ScriptCheckWindow : public QDialog
{
    Q_OBJECT

public:
    explicit ScriptCheckWindow(QWidget *parent = nullptr);

    /** Shows `report` of the script named `scriptName` ("script" when it has no file). */
    void showReport(const ScriptCheckReport &report, const QString &scriptName);

Q_SIGNALS:
    /** The operator chose the finding of this script line (1-based). */
    void lineChosen(int line);

private:
    QListWidget *m_findings = nullptr;
    QLabel *m_estimate = nullptr;
};

} // namespace lumen::sequa
