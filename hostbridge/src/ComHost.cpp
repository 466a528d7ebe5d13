#include "hostbridge/src/ComHost.h"

#include "hostbridge/src/HResultText.h"

#include <oleauto.h>

#include <vector>

namespace bridge {

BSTR toBstr(const std::string &utf8)
{
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    BSTR b = SysAllocStringLen(nullptr, UINT(n));
    if (n > 0)
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), b, n);
    return b;
}

std::string fromWide(const wchar_t *text, std::size_t length)
{
    if (!text || length == 0)
        return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, int(length), nullptr, 0, nullptr, nullptr);
    std::string out(std::size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, int(length), out.data(), n, nullptr, nullptr);
    return out;
}

namespace {

std::string fromBstr(BSTR b)
{
    return fromWide(b, b ? SysStringLen(b) : 0);
}

// Everything the argument variants point at, freed whatever the call did.
struct ArgumentStore
{
    std::vector<short> shorts;
    std::vector<double> doubles;
    std::vector<BSTR> texts;
    SAFEARRAY *counts = nullptr;
    std::vector<VARIANTARG> variants;

    explicit ArgumentStore(const std::vector<Arg> &args)
        : shorts(args.size()), doubles(args.size()), texts(args.size(), nullptr),
          variants(args.size())
    {
        const std::size_t n = args.size();
        for (std::size_t i = 0; i < n; ++i) {
            // Automation passes arguments last first.
            VARIANTARG &v = variants[n - 1 - i];
            VariantInit(&v);
            switch (args[i].type) {
            case ArgType::Int16Ref:
                shorts[i] = short(args[i].number);
                v.vt = VT_I2 | VT_BYREF;
                v.piVal = &shorts[i];
                break;
            case ArgType::Real64Ref:
                doubles[i] = args[i].number;
                v.vt = VT_R8 | VT_BYREF;
                v.pdblVal = &doubles[i];
                break;
            case ArgType::Real32:
                v.vt = VT_R4;
                v.fltVal = float(args[i].number);
                break;
            case ArgType::TextRef:
                texts[i] = toBstr(args[i].text);
                v.vt = VT_BSTR | VT_BYREF;
                v.pbstrVal = &texts[i];
                break;
            case ArgType::TextVal:
                texts[i] = toBstr(args[i].text);
                v.vt = VT_BSTR;
                v.bstrVal = texts[i];
                break;
            case ArgType::CountsRef:
                counts = SafeArrayCreateVector(VT_I4, 0, ULONG(args[i].number));
                v.vt = VT_ARRAY | VT_I4 | VT_BYREF;
                v.pparray = &counts;
                break;
            }
        }
    }
    ~ArgumentStore()
    {
        for (BSTR b : texts)
            SysFreeString(b);
        if (counts)
            SafeArrayDestroy(counts);
    }

    /** The by-reference values as the host left them. */
    void readBack(std::vector<Arg> &args) const
    {
        for (std::size_t i = 0; i < args.size(); ++i) {
            if (args[i].type == ArgType::Int16Ref)
                args[i].number = shorts[i];
            else if (args[i].type == ArgType::Real64Ref)
                args[i].number = doubles[i];
            else if (args[i].type == ArgType::TextRef)
                args[i].text = fromBstr(texts[i]);
        }
    }

    Json countsArray(std::size_t asked) const
    {
        Json out = Json::array();
        if (!counts || SafeArrayGetDim(counts) != 1)
            return out;
        LONG low = 0, high = -1;
        SafeArrayGetLBound(counts, 1, &low);
        SafeArrayGetUBound(counts, 1, &high);
        VARTYPE vt = VT_EMPTY;
        SafeArrayGetVartype(counts, &vt);
        void *data = nullptr;
        if (vt != VT_I4 || FAILED(SafeArrayAccessData(counts, &data)))
            return out;
        const LONG *values = static_cast<const LONG *>(data);
        for (LONG i = 0; i <= high - low && std::size_t(i) < asked; ++i)
            out.append(Json::number(values[i]));
        SafeArrayUnaccessData(counts);
        return out;
    }
};

bool readResult(VARIANT &result, ResultType type, Json &out)
{
    const VARTYPE want = type == ResultType::Text    ? VT_BSTR
                         : type == ResultType::Int32 ? VT_I4
                                                     : VT_R8;
    if (result.vt != want && FAILED(VariantChangeType(&result, &result, 0, want)))
        return false;
    if (type == ResultType::Text)
        out = Json::text(fromBstr(result.bstrVal));
    else if (type == ResultType::Int32)
        out = Json::number(result.lVal);
    else
        out = Json::number(result.dblVal);
    return true;
}

} // namespace

ComHost::ComHost(std::wstring progId, DWORD busyMs) : m_progId(std::move(progId)), m_busyMs(busyMs)
{
    // One thread, one apartment: calls leave and come back in the order made.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
}

ComHost::~ComHost()
{
    dropObject();
    CoUninitialize();
}

void pumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

HRESULT ComHost::ensureObject()
{
    if (m_object)
        return S_OK;
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(m_progId.c_str(), &clsid);
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER,
                              IID_IDispatch, reinterpret_cast<void **>(&m_object));
    if (FAILED(hr))
        m_object = nullptr;
    return hr;
}

void ComHost::dropObject()
{
    if (m_object) {
        // The proxy of a dead host is released all the same; its answer does not matter.
        m_object->Release();
        m_object = nullptr;
    }
    m_dispids.clear();
}

HRESULT ComHost::dispidOf(const char *name, DISPID &id)
{
    // Each lookup is a round trip to the host: once per method and object.
    const auto it = m_dispids.find(name);
    if (it != m_dispids.end()) {
        id = it->second;
        return S_OK;
    }
    BSTR wide = toBstr(name);
    LPOLESTR names[] = {wide};
    const HRESULT hr = m_object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    SysFreeString(wide);
    if (SUCCEEDED(hr))
        m_dispids[name] = id;
    return hr;
}

HRESULT ComHost::invokeWaitingWhileBusy(DISPID id, DISPPARAMS &params, VARIANT &result,
                                        EXCEPINFO &exception, UINT &badArgument)
{
    const ULONGLONG until = GetTickCount64() + m_busyMs;
    for (;;) {
        const HRESULT hr = m_object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                            &params, &result, &exception, &badArgument);
        // A rejected call did not run: asking again is safe for every method.
        if (!hostIsBusy(hr) || GetTickCount64() >= until)
            return hr;
        MsgWaitForMultipleObjectsEx(0, nullptr, 100, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        pumpMessages();
    }
}

Json ComHost::callOnce(Call &call, bool &gone)
{
    const char *name = call.method->name;
    gone = false;
    HRESULT hr = ensureObject();
    if (FAILED(hr))
        return failureReply("Cannot start the host application " +
                            fromWide(m_progId.c_str(), m_progId.size()) + ": " +
                            describeHResult(hr));
    DISPID id = 0;
    hr = dispidOf(name, id);
    if (FAILED(hr)) {
        gone = hostIsGone(hr);
        if (gone)
            dropObject();
        return failureReply(std::string(name) + ": " + describeHResult(hr));
    }

    ArgumentStore store(call.args);
    DISPPARAMS params{store.variants.data(), nullptr, UINT(store.variants.size()), 0};
    VARIANT result;
    VariantInit(&result);
    EXCEPINFO exception{};
    UINT badArgument = 0;
    hr = invokeWaitingWhileBusy(id, params, result, exception, badArgument);
    store.readBack(call.args);

    Json reply;
    const ResultType type = resultType(call.method->shape);
    if (hr == DISP_E_EXCEPTION) {
        if (exception.pfnDeferredFillIn)
            exception.pfnDeferredFillIn(&exception);
        const std::string what =
            exception.bstrDescription && SysStringLen(exception.bstrDescription)
                ? fromBstr(exception.bstrDescription)
                : describeHResult(exception.scode ? exception.scode : hr);
        // The host's own error, told as the host's error replies are.
        reply = type == ResultType::Text ? callReply(call, Json::text("Error: " + what))
                                         : failureReply("Error: " + what);
    } else if (hostIsBusy(hr)) {
        reply = failureReply("The host application is busy (a dialog may be open on its "
                             "screen): it refused " +
                             std::string(name) + " for " + std::to_string(m_busyMs / 1000) +
                             " s; the call was not made");
    } else if (FAILED(hr)) {
        gone = hostIsGone(hr);
        if (gone)
            dropObject();
        std::string why = std::string(name) + ": " + describeHResult(hr);
        if (hr == DISP_E_TYPEMISMATCH || hr == DISP_E_PARAMNOTFOUND)
            why += ", argument " + std::to_string(call.args.size() - badArgument);
        reply = failureReply(why);
    } else if (call.method->shape == Shape::Counts) {
        reply = callReply(call, store.countsArray(std::size_t(call.args[0].number)));
    } else if (type == ResultType::Nothing) {
        reply = callReply(call, Json());
    } else {
        Json value;
        reply = readResult(result, type, value)
                    ? callReply(call, std::move(value))
                    : failureReply(std::string(name) + " gave a value of an unexpected type");
    }
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    VariantClear(&result);
    return reply;
}

Json ComHost::call(Call call)
{
    bool gone = false;
    Json reply = callOnce(call, gone);
    // testconnect is how a run finds its host: a host that went away
    // between runs is started again within this one call. It changes
    // nothing on the host, so making it twice is harmless; any other
    // call may have run before the host went, and is not made again.
    if (gone && call.method->shape == Shape::Probe)
        reply = callOnce(call, gone);
    else if (gone)
        reply = failureReply(reply.member("failure").asText() +
                             "; the host application has gone away, and the call may or "
                             "may not have run; the next call starts it again");
    return reply;
}

void ComHost::withObject(const std::function<void(IDispatch *, const std::string &)> &work)
{
    const HRESULT hr = ensureObject();
    work(m_object, FAILED(hr) ? describeHResult(hr) : std::string());
}

} // namespace bridge
