#include "common/core/Platform.h"
#include "hostsim/core/HostSimProgram.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    const lumen::ProgramInfo info{QStringLiteral("hostsim"),
                                  QStringLiteral("The simulated MCA host, served over TCP."),
                                  lumen::HostSimProgram::usage()};
    if (const int status = lumen::handleStandardOptions(argc, argv, info); status >= 0)
        return status;
    lumen::selectPlatformForDisplay();
    QCoreApplication app(argc, argv);
    return lumen::HostSimProgram::run(app.arguments().mid(1), lumen::standardOut(),
                                      lumen::standardError());
}
