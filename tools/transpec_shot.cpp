// Writes a PNG of Transpec's window as an operator sees it after opening a
// spectrum and ticking "Log scale": the program's own start, with the file
// dialog answered and the box ticked once its event loop runs.
//
//   transpec_shot SPECTRUM OUTPUT.png   (under a display, e.g. xvfb-run)
#include "common/core/Operator.h"
#include "common/testsupport/ScriptedOperator.h"
#include "transpec/gui/TranspecApp.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace {

QString g_spectrum;
QString g_output;
int g_status = 1;

QWidget *convertWindow()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("Convert") && w->isVisible())
            return w;
    return nullptr;
}

void takeShot()
{
    static lumen::ScriptedOperator op;
    static int tries = 0;
    if (QWidget *dialog = QApplication::activeModalWidget()) {
        // A box the start put up would stand in the picture; the event loop
        // it runs would also outlive an exit asked from here.
        const auto *box = qobject_cast<QMessageBox *>(dialog);
        std::fprintf(stderr, "transpec_shot: the start showed a dialog: %s\n",
                     qPrintable(box ? box->text() : dialog->windowTitle()));
        std::fflush(stderr);
        std::_Exit(1);
    }
    QWidget *window = convertWindow();
    if (!window && ++tries < 100) {
        QTimer::singleShot(50, qApp, takeShot); // the start may still be reading its settings
        return;
    }
    auto *load = window ? window->findChild<QAbstractButton *>(QStringLiteral("LoadSPM")) : nullptr;
    auto *logScale = window ? window->findChild<QCheckBox *>(QStringLiteral("LogScale")) : nullptr;
    if (!load || !logScale) {
        std::fputs("transpec_shot: no Convert window with LoadSPM and LogScale\n", stderr);
        QCoreApplication::exit(1);
        return;
    }
    lumen::setCurrentOperator(&op);
    op.queueFile(g_spectrum);
    load->click();
    logScale->setChecked(true);
    QCoreApplication::processEvents();
    if (window->grab().save(g_output))
        g_status = 0;
    else
        std::fprintf(stderr, "transpec_shot: cannot write %s\n", qPrintable(g_output));
    QCoreApplication::exit(g_status);
}

// Runs as the program's QApplication is made; the shot waits for the window.
void scheduleShot()
{
    QTimer::singleShot(0, qApp, takeShot);
}
Q_COREAPP_STARTUP_FUNCTION(scheduleShot)

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fputs("usage: transpec_shot SPECTRUM OUTPUT.png\n", stderr);
        return 2;
    }
    g_spectrum = QString::fromLocal8Bit(argv[1]);
    g_output = QString::fromLocal8Bit(argv[2]);
    char *programArgs[] = {argv[0], nullptr};
    lumen::transpec::runTranspec(1, programArgs);
    return g_status;
}
