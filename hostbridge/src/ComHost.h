#pragma once

// The host's automation object, owned by the thread that makes it, which
// makes every call (an apartment thread: it must pump window messages
// whenever it waits, see Server).

#include "hostbridge/src/Json.h"
#include "hostbridge/src/Methods.h"

#include <windows.h>

#include <ole2.h>

#include <functional>
#include <map>
#include <string>

namespace bridge {

class ComHost
{
public:
    /** `busyMs`: how long a host that rejects calls (a modal dialog) is asked again. */
    ComHost(std::wstring progId, DWORD busyMs);
    ~ComHost();
    ComHost(const ComHost &) = delete;
    ComHost &operator=(const ComHost &) = delete;

    /** Makes the call and gives the reply object. */
    Json call(Call call);

    /**
     * Runs `work` with the object, created if need be; on a failure to
     * create it, with null and the reason.
     */
    void withObject(const std::function<void(IDispatch *, const std::string &)> &work);

private:
    HRESULT ensureObject();
    void dropObject();
    HRESULT dispidOf(const char *name, DISPID &id);
    Json callOnce(Call &call, bool &gone);
    HRESULT invokeWaitingWhileBusy(DISPID id, DISPPARAMS &params, VARIANT &result,
                                   EXCEPINFO &exception, UINT &badArgument);

    std::wstring m_progId;
    DWORD m_busyMs;
    IDispatch *m_object = nullptr;
    std::map<std::string, DISPID> m_dispids;
};

/** Serves the window messages waiting for this thread. */
void pumpMessages();

/** UTF-8 to a new BSTR and back. */
BSTR toBstr(const std::string &utf8);
std::string fromWide(const wchar_t *text, std::size_t length);

} // namespace bridge
