#include "hostsim/core/HostSimProgram.h"

#include "common/core/Failure.h"
#include "hostsim/core/HostServer.h"
#include "hostsim/core/SimulatedHost.h"

#include <QCoreApplication>

namespace lumen {

QString HostSimProgram::usage()
{
    return QStringLiteral(
        "  hostsim --listen [ADDRESS:]PORT [--faults TEXT]\n"
        "Serves the simulated MCA host over TCP (default address 127.0.0.1;\n"
        "port 0 picks a free one). Environment: LUMEN_HOST_SEED, LUMEN_HOST_SPEED,\n"
        "LUMEN_HOST_CHANNELS, LUMEN_HOST_START, LUMEN_HOST_FAULTS, LUMEN_ROOT.\n");
}

int HostSimProgram::run(const QStringList &args, QTextStream &out, QTextStream &err)
{
    QString listen;
    QString faultsText;
    bool faultsGiven = false;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--listen") && i + 1 < args.size()) {
            listen = args[++i];
        } else if (args[i] == QLatin1String("--faults") && i + 1 < args.size()) {
            faultsText = args[++i];
            faultsGiven = true;
        } else {
            err << "hostsim: unknown argument: " << args[i] << "\n" << usage();
            err.flush();
            return 2;
        }
    }
    if (listen.isEmpty()) {
        err << "hostsim: nothing to do\n" << usage();
        err.flush();
        return 2;
    }
    try {
        QHostAddress address(QHostAddress::LocalHost);
        QString portText = listen;
        if (const qsizetype colon = listen.lastIndexOf(u':'); colon >= 0) {
            if (!address.setAddress(listen.left(colon)))
                throw Failure(QStringLiteral("Invalid address: ") + listen.left(colon));
            portText = listen.mid(colon + 1);
        }
        bool ok = false;
        const uint port = portText.toUInt(&ok);
        if (!ok || port > 65535)
            throw Failure(QStringLiteral("Invalid port: ") + portText);

        SimulatedHostSettings settings = SimulatedHostSettings::fromEnvironment();
        if (faultsGiven)
            settings.faults = HostFaults::parse(faultsText);
        auto host = std::make_shared<SimulatedHost>(settings);
        HostServer server(host, settings.faults);
        server.listen(address, quint16(port));
        out << "Listening on " << address.toString() << ":" << server.port() << "\n";
        out.flush();
        return QCoreApplication::exec();
    } catch (const Failure &failure) {
        err << "hostsim: " << failure.description() << "\n";
        err.flush();
        return 1;
    }
}

} // namespace lumen
