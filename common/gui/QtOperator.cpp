#include "common/gui/QtOperator.h"

#include "common/core/Platform.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace lumen {

MessageAnswer QtOperator::messageBox(const QString &text, const QString &title,
                                     MessageButtons buttons)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(title);
    box.setText(text);
    switch (buttons) {
    case MessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setIcon(QMessageBox::Question);
        break;
    case MessageButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MessageButtons::YesNoDefaultNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        box.setIcon(QMessageBox::Question);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    case QMessageBox::Ok:
        return MessageAnswer::Ok;
    default:
        return buttons == MessageButtons::OkCancel ? MessageAnswer::Cancel : MessageAnswer::No;
    }
}

QString QtOperator::inputBox(const QString &prompt, const QString &title,
                             const QString &defaultText)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(m_parent, title, prompt, QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return QString();
    return text.isNull() ? QStringLiteral("") : text;
}

QStringList QtOperator::qtFilters(const QString &designFilter)
{
    const QStringList parts = designFilter.split(u'|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        QString label = parts[i];
        // Qt reads the patterns from the label's parentheses; add them when the label lacks them.
        if (!label.contains(u'('))
            label += QStringLiteral(" (") + patterns + u')';
        else
            label = label.left(label.indexOf(u'(')) + u'(' + patterns + u')';
        filters << label;
    }
    return filters;
}

std::optional<QString> QtOperator::fileDialog(const FileDialogRequest &request)
{
    QFileDialog dialog(m_parent, request.title, request.initialFolder);
    const QStringList filters = qtFilters(request.filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    dialog.setDefaultSuffix(request.defaultExtension);
    if (request.kind == FileDialogRequest::Kind::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        if (!request.overwritePrompt)
            dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    }
    if (request.hideReadOnly)
        dialog.setOption(QFileDialog::ReadOnly, false);
    if (!request.initialName.isEmpty())
        dialog.selectFile(request.initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

void QtOperator::beep()
{
    QApplication::beep();
}

void installOperatorForDisplay()
{
    static QtOperator qtOperator;
    if (hasDisplay())
        setCurrentOperator(&qtOperator);
}

} // namespace lumen
