#pragma once

#include "common/core/Operator.h"

class QWidget;

namespace lumen {

/** The operator at a display: Qt's modal dialogs. */
class QtOperator : public Operator
{
public:
    explicit QtOperator(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }

    MessageAnswer messageBox(const QString &text, const QString &title,
                             MessageButtons buttons) override;
    QString inputBox(const QString &prompt, const QString &title,
                     const QString &defaultText) override;
    std::optional<QString> fileDialog(const FileDialogRequest &request) override;
    void beep() override;

    /** Turns the design's "Name (*.x)|*.x|..." filter into Qt's ";;" form. */
    static QStringList qtFilters(const QString &designFilter);

private:
    QWidget *m_parent;
};

/**
 * Installs the operator that fits the process: Qt dialogs when a display is
 * there, the headless operator otherwise. Call after QApplication exists.
 */
void installOperatorForDisplay();

} // namespace lumen
