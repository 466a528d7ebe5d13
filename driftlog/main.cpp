#include "common/core/Failure.h"
#include "common/core/Platform.h"
#include "driftlog/core/DriftlogCommandLine.h"
#include "driftlog/core/WindowModuleLoader.h"

#include <QByteArrayView>
#include <QCoreApplication>
#include <QStringList>
#include <cstddef>

const char *driftlogWindowImage(std::size_t *size);

int main(int argc, char **argv)
{
    lumen::selectPlatformForDisplay();
    const int standard = lumen::handleStandardOptions(
        argc, argv, lumen::driftlog::DriftlogCommandLine::programInfo());
    if (standard >= 0)
        return standard;

    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);

    if (lumen::driftlog::DriftlogCommandLine::modeOfArguments(args)) {
        QCoreApplication app(argc, argv);
        return lumen::driftlog::DriftlogCommandLine::run(args, lumen::standardOut(),
                                                         lumen::standardError());
    }
    if (!lumen::hasDisplay()) {
        // Nobody could ever answer a window here; an unattended caller must not hang.
        lumen::standardError()
            << "Driftlog: no display for the window; give GAIN or KEV for an unattended run\n";
        lumen::standardError().flush();
        return 2;
    }

    std::size_t size = 0;
    const char *image = driftlogWindowImage(&size);
    try {
        return lumen::driftlog::WindowModuleLoader::run(QByteArrayView(image, qsizetype(size)),
                                                        argc, argv);
    } catch (const lumen::Failure &f) {
        lumen::standardError() << "Driftlog: " << f.description() << '\n';
        lumen::standardError().flush();
        return 3;
    }
}
