#include "hostsim/core/HostSimProgram.h"

#include "common/core/Failure.h"
#include "common/core/StopSignals.h"
#include "hostlink/HostKey.h"
#include "simhost/HostServer.h"
#include "simhost/SimulatedHost.h"

#include <QCoreApplication>

namespace lumen {

QString HostSimProgram::usage()
{
    return QStringLiteral(
        "Usage: hostsim --listen [ADDRESS:]PORT [--idle SECONDS] [--faults TEXT]\n"
        "Serves the simulated MCA host over TCP, one request line and one reply line\n"
        "per call, for Sequa runs with LUMEN_HOST=tcp://ADDRESS:PORT. It prints\n"
        "\"Listening on ADDRESS:PORT\" and serves until it is ended (SIGTERM, SIGINT).\n"
        "One connection at a time holds the host, from its first accepted line until\n"
        "it closes; another is refused with the holder's name, address and since\n"
        "when, unless its hello names the same holder (which takes the host over).\n"
        "A connection silent for the idle time, or that leaves more than 1 MB of\n"
        "replies unread, is closed.\n"
        "With a key set (LUMEN_HOST_TOKEN or LUMEN_HOST_TOKEN_FILE), each connection\n"
        "must answer the server's challenge under it before any method runs (the key\n"
        "never crosses the wire); a wrong answer is refused once and the connection\n"
        "closed. Without a key only a loopback address is served.\n"
        "\n"
        "Options:\n"
        "  --listen [ADDRESS:]PORT  where to listen (address 127.0.0.1 by default;\n"
        "                           port 0 picks a free one)\n"
        "  --idle SECONDS           close a connection silent this long (default 300;\n"
        "                           0 never)\n"
        "  --faults TEXT            faults to play instead of LUMEN_HOST_FAULTS\n"
        "\n"
        "Environment:\n"
        "  LUMEN_HOST_SEED      seed of the counts (default: a fresh one)\n"
        "  LUMEN_HOST_SPEED     host seconds per real second (default 1)\n"
        "  LUMEN_HOST_CHANNELS  channels per spectrum, 1..16384 (default 8192)\n"
        "  LUMEN_HOST_START     host clock at start, YYYY-MM-DD HH:MM:SS local time\n"
        "                       (a time the clock skips or repeats: as after the\n"
        "                       change) or with an offset such as +01:00\n"
        "  LUMEN_HOST_FAULTS    faults, items separated by \";\": connect-after=SECONDS,\n"
        "                       connect-never, error=METHOD:TEXT, gone-after=CALLS,\n"
        "                       slow=METHOD:MS\n"
        "  LUMEN_HOST_TOKEN     the bridge's shared key; Sequa presents the same one\n"
        "  LUMEN_HOST_TOKEN_FILE  a file whose first line is the key, readable by its\n"
        "                       owner only (chmod 600), instead of LUMEN_HOST_TOKEN\n"
        "  LUMEN_ROOT           the Lumen folder (default ~/Lumen): results report in\n"
        "                       Temp, spectra and reports in Data, printouts in Print;\n"
        "                       the host saves nowhere else\n"
        "\n"
        "Exit status: 0 served and ended normally; 1 a setting or the key is invalid,\n"
        "the port cannot be listened on, or an address other than loopback is given\n"
        "without a key; 2 the arguments are wrong.\n");
}

int HostSimProgram::run(const QStringList &args, QTextStream &out, QTextStream &err)
{
    QString listen;
    QString faultsText;
    bool faultsGiven = false;
    int idleSeconds = HostServer::kDefaultIdleSeconds;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--listen") && i + 1 < args.size()) {
            listen = args[++i];
        } else if (args[i] == QLatin1String("--idle") && i + 1 < args.size()) {
            bool ok = false;
            idleSeconds = args[++i].toInt(&ok);
            // A day at most: the timer counts milliseconds in an int.
            if (!ok || idleSeconds < 0 || idleSeconds > 86400) {
                err << "hostsim: invalid --idle (whole seconds, 0 to 86400): " << args[i] << "\n";
                err.flush();
                return 2;
            }
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

        const QByteArray key = HostKey::fromEnvironment();
        if (key.isEmpty() && !address.isLoopback())
            throw Failure(QStringLiteral("Will not serve %1 without a key: whoever reaches it "
                                         "would drive the host. Set %2 or %3, or listen on "
                                         "127.0.0.1")
                              .arg(address.toString(), QLatin1String(HostKey::kVariable),
                                   QLatin1String(HostKey::kFileVariable)));
        SimulatedHostSettings settings = SimulatedHostSettings::fromEnvironment();
        if (faultsGiven)
            settings.faults = HostFaults::parse(faultsText);
        auto host = std::make_shared<SimulatedHost>(settings);
        HostServer server(host, settings.faults);
        server.requireKey(key);
        server.setIdleSeconds(idleSeconds);
        server.listen(address, quint16(port));
        out << "Listening on " << address.toString() << ":" << server.port() << "\n";
        out.flush();
        // Ended as the help says (SIGTERM, SIGINT, SIGHUP): that is a normal end, status 0.
        StopSignals stopSignals([](const QString &) { QCoreApplication::quit(); });
        return QCoreApplication::exec();
    } catch (const Failure &failure) {
        err << "hostsim: " << failure.description() << "\n";
        err.flush();
        return 1;
    }
}

} // namespace lumen
