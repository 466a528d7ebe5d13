#include "sequa/gui/ScriptCheckWindow.h"

#include "sequa/core/check/ScriptCheckReport.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace lumen::sequa {

ScriptCheckWindow::ScriptCheckWindow(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmScriptCheck"));
    m_findings = new QListWidget;
    m_findings->setObjectName(QStringLiteral("lstFindings"));
    m_estimate = new QLabel;
    m_estimate->setObjectName(QStringLiteral("lblEstimate"));
    m_estimate->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *close = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::close);
    connect(m_findings, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        if (const int line = item->data(Qt::UserRole).toInt(); line > 0)
            Q_EMIT lineChosen(line);
    });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_findings, 1);
    layout->addWidget(m_estimate);
    layout->addWidget(close);
    resize(640, 320);
}

void ScriptCheckWindow::showReport(const ScriptCheckReport &report, const QString &scriptName)
{
    setWindowTitle(QStringLiteral("Check Script - ") + scriptName);
    m_findings->clear();
    for (const ScriptFinding &finding : report.findings) {
        auto *row = new QListWidgetItem(finding.format(scriptName), m_findings);
        row->setData(Qt::UserRole, finding.line);
    }
    if (report.findings.empty())
        new QListWidgetItem(QStringLiteral("No errors or warnings"), m_findings);
    m_estimate->setText(report.estimate);
    show();
    raise();
    activateWindow();
}

} // namespace lumen::sequa
