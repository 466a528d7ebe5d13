// lumen-bridge-bench PORT [CALLS]: the time of one host call made directly
// through COM against the same call through the bridge listening on PORT,
// side by side in one run (each round makes one of each), as medians.

#include <winsock2.h>
#include <ws2tcpip.h>

#include <windows.h>

#include <ole2.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double microseconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency)
{
    return double(to.QuadPart - from.QuadPart) * 1e6 / double(frequency.QuadPart);
}

bool readLine(SOCKET s, std::string &line)
{
    line.clear();
    char c;
    while (recv(s, &c, 1, 0) == 1) {
        if (c == '\n')
            return true;
        line += c;
    }
    return false;
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "Usage: lumen-bridge-bench PORT [CALLS]\n");
        return 2;
    }
    const int port = _wtoi(argv[1]);
    const int calls = argc > 2 ? _wtoi(argv[2]) : 1000;

    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    CLSID clsid;
    IDispatch *host = nullptr;
    if (FAILED(CLSIDFromProgID(L"LmnPro.clsLmn", &clsid)) ||
        FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                reinterpret_cast<void **>(&host)))) {
        std::fprintf(stderr, "lumen-bridge-bench: no host object\n");
        return 1;
    }
    LPOLESTR name = const_cast<LPOLESTR>(L"GetAcquireStatus");
    DISPID id = 0;
    host->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);

    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_port = htons(u_short(port));
    inet_pton(AF_INET, "127.0.0.1", &at.sin_addr);
    BOOL noDelay = TRUE;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<char *>(&noDelay), sizeof noDelay);
    std::string line;
    if (connect(s, reinterpret_cast<sockaddr *>(&at), sizeof at) != 0 || !readLine(s, line)) {
        std::fprintf(stderr, "lumen-bridge-bench: no bridge on port %d\n", port);
        return 1;
    }
    const std::string request = "{\"method\":\"GetAcquireStatus\",\"args\":[]}\n";

    LARGE_INTEGER frequency, t0, t1, t2, t3;
    QueryPerformanceFrequency(&frequency);
    const std::string ping = "{\"ping\":true}\n";
    std::vector<double> direct, bridged, pinged;
    for (int i = 0; i < calls; ++i) {
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        VARIANT result;
        VariantInit(&result);
        QueryPerformanceCounter(&t0);
        const HRESULT hr = host->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none,
                                        &result, nullptr, nullptr);
        QueryPerformanceCounter(&t1);
        VariantClear(&result);
        send(s, request.data(), int(request.size()), 0);
        const bool replied = readLine(s, line);
        QueryPerformanceCounter(&t2);
        if (FAILED(hr) || !replied || line.find("\"result\"") == std::string::npos) {
            std::fprintf(stderr, "lumen-bridge-bench: a call failed: %s\n", line.c_str());
            return 1;
        }
        send(s, ping.data(), int(ping.size()), 0);
        readLine(s, line);
        QueryPerformanceCounter(&t3);
        direct.push_back(microseconds(t0, t1, frequency));
        pinged.push_back(microseconds(t2, t3, frequency));
        bridged.push_back(microseconds(t1, t2, frequency));
    }
    const double d = median(direct), b = median(bridged);
    std::printf("GetAcquireStatus, median of %d calls each: direct %.0f us, through the bridge "
                "%.0f us, ratio %.2f (a ping, the bridge without the host: %.0f us)\n",
                calls, d, b, b / d, median(pinged));
    closesocket(s);
    host->Release();
    return 0;
}
