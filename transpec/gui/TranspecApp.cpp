#include "transpec/gui/TranspecApp.h"

#include "common/core/Paths.h"
#include "common/core/Platform.h"
#include "common/gui/HelpMenu.h"
#include "common/gui/ProgramIcon.h"
#include "common/gui/QtOperator.h"
#include "common/gui/WindowPlaces.h"
#include "transpec/core/ConvertCommand.h"
#include "transpec/core/ConvertModel.h"
#include "transpec/gui/ConvertWindow.h"
#include "transpec/gui/GraphCommand.h"

#include <QApplication>
#include <QCoreApplication>

namespace lumen::transpec {

int runTranspec(int argc, char **argv)
{
    const int standard = lumen::handleStandardOptions(argc, argv, ConvertCommand::programInfo());
    if (standard >= 0)
        return standard;

    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);

    if (GraphCommand::asked(args)) {
        // The picture is drawn in memory; a display, even when there, is not needed.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        return GraphCommand::run(args, lumen::standardOut(), lumen::standardError());
    }
    if (ConvertCommand::isConvertRequest(args)) {
        QCoreApplication app(argc, argv);
        return ConvertCommand::run(args, lumen::standardOut(), lumen::standardError());
    }

    if (!lumen::hasDisplay() && args.join(u' ').trimmed().isEmpty()) {
        // Nobody could ever use or close the window.
        QCoreApplication app(argc, argv);
        lumen::standardError() << "Transpec: no display; give the ANS file to produce, or "
                                  "--convert"
                               << Qt::endl;
        return 2;
    }
    lumen::selectPlatformForDisplay();
    QApplication app(argc, argv);
    lumen::installOperatorForDisplay();
    lumen::applyProgramIcon(app, QStringLiteral("transpec"));
    lumen::rememberWindowPlaces(app);

    ConvertModel model;
    model.setPumpDuringReads(true);
    ConvertWindow window(model);
    lumen::addHelpMenu(window, QStringLiteral("Transpec"), {ConvertModel::kSettingsName});
    model.startUp(args.join(u' '), lumen::programFile(ConvertModel::kSettingsName));
    window.show();

    if (model.commandLineMode() && !lumen::hasDisplay()) {
        // Nobody can pick the spectrum: the open is tried once (the headless
        // operator cancels it) and the run ends rather than waiting.
        model.openSpectrum();
        if (model.loaded())
            model.saveConverted();
        else
            model.exitProgram();
        return model.exitStatus();
    }

    QObject::connect(&model, &ConvertModel::exitWanted, &app,
                     [&app](int status) { app.exit(status); });
    return app.exec();
}

} // namespace lumen::transpec
