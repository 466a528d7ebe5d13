#include "HostApp.h"
#include "Platform.h"
#include "QtOperator.h"
#include "RxMainWindow.h"
#include "SequaProgram.h"

#include <QApplication>
#include <QStringList>
#include <memory>

int main(int argc, char **argv)
{
    using namespace lumen;
    const ProgramInfo info{
        QStringLiteral("Sequa"),
        QStringLiteral("records and plays measurement scripts that drive the MCA host"),
        QStringLiteral("Usage: Sequa [SCRIPT]\n"
                       "  SCRIPT  a script file (.lsf) to play unattended; the program ends\n"
                       "          when the run succeeds\n")};
    const int status = handleStandardOptions(argc, argv, info);
    if (status >= 0)
        return status;

    selectPlatformForDisplay();
    QApplication app(argc, argv);
    installOperatorForDisplay();

    sequa::SequaProgram program(&createHostAppObject);
    program.timer().start();
    // At a display the window exists during start-up, so an unattended run
    // shows its message panel; without one a run that ends needs no window.
    std::unique_ptr<sequa::RxMainWindow> window;
    if (hasDisplay())
        window = std::make_unique<sequa::RxMainWindow>(program);

    // The command line is taken whole, as one file name, blanks and all.
    const QString commandLine = QCoreApplication::arguments().mid(1).join(QLatin1Char(' '));
    if (program.startUp(commandLine) == sequa::SequaProgram::StartUpOutcome::EndProgram)
        return 0;
    if (!window)
        window = std::make_unique<sequa::RxMainWindow>(program);
    window->show();
    return app.exec();
}
