// lumen-host-bridge: serves a Windows MCA host's automation object over the
// host bridge protocol, so that Sequa on Linux or WSL drives the real host.

#include "hostbridge/src/ComHost.h"
#include "hostbridge/src/Key.h"
#include "hostbridge/src/Probe.h"
#include "hostbridge/src/Server.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdio>
#include <cwchar>
#include <fcntl.h>
#include <io.h>
#include <string>

#ifndef LUMEN_VERSION
#define LUMEN_VERSION "0"
#endif

namespace {

// Below the client's time-out per call (10 s by default), so that the caller
// hears that the host is busy rather than nothing.
constexpr unsigned long kBusyS = 8;

const char kUsage[] =
    "Usage: lumen-host-bridge --listen [ADDRESS:]PORT [--progid NAME] [--idle SECONDS]\n"
    "                         [--busy SECONDS]\n"
    "       lumen-host-bridge --probe [--progid NAME]\n"
    "Serves the MCA host application's automation object over TCP, one request\n"
    "line and one reply line per call, for Sequa runs with\n"
    "LUMEN_HOST=tcp://ADDRESS:PORT. It prints \"Listening on ADDRESS:PORT\" and\n"
    "serves until it is ended. One connection at a time drives the host; the\n"
    "others are told who holds it. Run it in the desktop session of the operator,\n"
    "beside the host application, not as a service.\n"
    "\n"
    "Options:\n"
    "  --listen [ADDRESS:]PORT  where to listen (address 127.0.0.1 by default;\n"
    "                           port 0 picks a free one)\n"
    "  --progid NAME            the host's automation object (default LmnPro.clsLmn)\n"
    "  --idle SECONDS           drop a connection silent this long (default 300;\n"
    "                           0 never)\n"
    "  --busy SECONDS           how long a host that rejects calls (busy in a dialog)\n"
    "                           is asked again before the call fails (default 8)\n"
    "  --probe                  compare the host's declared method types with those\n"
    "                           the bridge sends, marking each mismatch, and end\n"
    "  --help, --version\n"
    "\n"
    "Environment:\n"
    "  LUMEN_HOST_TOKEN       the shared key; each connection must answer the\n"
    "                         bridge's challenge with it before any call\n"
    "  LUMEN_HOST_TOKEN_FILE  a file whose first line is the key, instead\n"
    "Without a key only a loopback address is served.\n"
    "\n"
    "Exit status: 0 ended normally (--probe: every type agrees); 1 a setting or\n"
    "the key is invalid, the port cannot be listened on, an address other than\n"
    "loopback is given without a key (--probe: a mismatch, no type information or\n"
    "no host); 2 the arguments are wrong.\n";

std::string narrow(const wchar_t *w)
{
    return bridge::fromWide(w, std::wcslen(w));
}

int wrongArguments(const std::string &why)
{
    std::fprintf(stderr, "lumen-host-bridge: %s\n%s", why.c_str(), kUsage);
    return 2;
}

int failed(const std::string &why)
{
    std::fprintf(stderr, "lumen-host-bridge: %s\n", why.c_str());
    return 1;
}

bool isLoopback(const std::string &address)
{
    in_addr v4{};
    if (inet_pton(AF_INET, address.c_str(), &v4) == 1)
        return (ntohl(v4.s_addr) >> 24) == 127;
    return address == "::1";
}

bool wholeNumber(const std::string &text, unsigned long max, unsigned long &out)
{
    if (text.empty() || text.size() > 10 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    out = std::stoul(text);
    return out <= max;
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    // Lines end in a line feed alone, as the programs that read them expect.
    _setmode(_fileno(stdout), _O_BINARY);
    std::string listen;
    std::wstring progId = L"LmnPro.clsLmn";
    unsigned long idle = 300;
    unsigned long busy = kBusyS;
    bool probe = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = narrow(argv[i]);
        const bool hasValue = i + 1 < argc;
        if (arg == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--version") {
            std::printf("lumen-host-bridge %s\n", LUMEN_VERSION);
            return 0;
        } else if (arg == "--listen" && hasValue) {
            listen = narrow(argv[++i]);
        } else if (arg == "--progid" && hasValue) {
            progId = argv[++i];
        } else if (arg == "--idle" && hasValue) {
            if (!wholeNumber(narrow(argv[++i]), 86400 * 365, idle))
                return wrongArguments("--idle wants a whole number of seconds");
        } else if (arg == "--busy" && hasValue) {
            if (!wholeNumber(narrow(argv[++i]), 3600, busy))
                return wrongArguments("--busy wants a whole number of seconds");
        } else if (arg == "--probe") {
            probe = true;
        } else {
            return wrongArguments("unknown argument: " + arg);
        }
    }
    if (listen.empty() == !probe)
        return wrongArguments(probe ? "--probe and --listen do not go together" : "nothing to do");

    if (probe) {
        bridge::ComHost host(progId, DWORD(busy * 1000));
        int status = 1;
        host.withObject([&](IDispatch *object, const std::string &why) {
            if (!object)
                status = failed("cannot start the host application " + narrow(progId.c_str()) +
                                ": " + why);
            else
                status = bridge::probeTypes(object, stdout) ? 0 : 1;
        });
        return status;
    }

    std::string address = "127.0.0.1";
    std::string portText = listen;
    if (const std::size_t colon = listen.rfind(':'); colon != std::string::npos) {
        address = listen.substr(0, colon);
        portText = listen.substr(colon + 1);
    }
    unsigned long port = 0;
    if (!wholeNumber(portText, 65535, port))
        return failed("Invalid port: " + portText);
    bridge::ServerSettings settings;
    settings.idleS = unsigned(idle);
    try {
        settings.key = bridge::keyFromEnvironment();
    } catch (const bridge::SettingError &e) {
        return failed(e.what());
    }
    WSADATA wsa;
    if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0)
        return failed("Winsock did not start");
    in_addr6 any6{};
    in_addr any4{};
    if (inet_pton(AF_INET, address.c_str(), &any4) != 1 &&
        inet_pton(AF_INET6, address.c_str(), &any6) != 1)
        return failed("Invalid address: " + address);
    if (settings.key.empty() && !isLoopback(address))
        return failed("Will not serve " + address +
                      " without a key: whoever reaches it would drive the host. Set "
                      "LUMEN_HOST_TOKEN or LUMEN_HOST_TOKEN_FILE, or listen on 127.0.0.1");

    bridge::ComHost host(progId, DWORD(busy * 1000));
    bridge::Server server(host, settings);
    std::string why;
    if (!server.listen(address, static_cast<unsigned short>(port), why))
        return failed(why);
    std::printf("Listening on %s:%u\n", address.c_str(), unsigned(server.port()));
    // Standard output is block-buffered when redirected: whoever waits for this line needs it now.
    std::fflush(stdout);
    server.serve();
    return 0;
}
