// lumen-test-host: the project's own automation server, out of process, that
// stands in for the MCA host application in the host bridge's tests.
//   lumen-test-host /RegServer   registers it under the ProgID LmnPro.clsLmn
//   lumen-test-host -Embedding   (as COM starts it) serves one object

#include "hostbridge/testserver/TestHost.h"

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

// {5E7A1C2B-9D44-4F1E-8B3A-6C0D2E4F7A91}
const CLSID kClsid = {0x5e7a1c2b, 0x9d44, 0x4f1e, {0x8b, 0x3a, 0x6c, 0x0d, 0x2e, 0x4f, 0x7a, 0x91}};
const wchar_t kClsidText[] = L"{5E7A1C2B-9D44-4F1E-8B3A-6C0D2E4F7A91}";
const wchar_t kProgId[] = L"LmnPro.clsLmn";

DWORD g_mainThread = 0;

void objectReleased()
{
    // The one object is gone: so is the host, as a real one ends with its last client.
    PostThreadMessageW(g_mainThread, WM_QUIT, 0, 0);
}

class Factory : public IClassFactory
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **out) override
    {
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *out = static_cast<IClassFactory *>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown *outer, REFIID iid, void **out) override
    {
        if (outer)
            return CLASS_E_NOAGGREGATION;
        IDispatch *object = testhost::createObject(objectReleased);
        const HRESULT hr = object->QueryInterface(iid, out);
        object->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

bool setValue(const std::wstring &key, const wchar_t *name, const std::wstring &value)
{
    HKEY k = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k,
                        nullptr) != ERROR_SUCCESS)
        return false;
    const LONG r = RegSetValueExW(k, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()),
                                  DWORD((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(k);
    return r == ERROR_SUCCESS;
}

int registerServer()
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring clsidKey = std::wstring(L"CLSID\\") + kClsidText;
    const bool ok =
        setValue(kProgId, nullptr, L"Lumen test host") &&
        setValue(std::wstring(kProgId) + L"\\CLSID", nullptr, kClsidText) &&
        setValue(clsidKey, nullptr, L"Lumen test host") &&
        setValue(clsidKey + L"\\ProgID", nullptr, kProgId) &&
        setValue(clsidKey + L"\\LocalServer32", nullptr, L"\"" + std::wstring(path) + L"\"");
    if (!ok) {
        std::fprintf(stderr, "lumen-test-host: cannot register\n");
        return 1;
    }
    return 0;
}

int serve()
{
    g_mainThread = GetCurrentThreadId();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    static Factory factory;
    DWORD cookie = 0;
    // One object per process: a client that creates the host again after it
    // went away gets a fresh process.
    if (FAILED(CoRegisterClassObject(kClsid, &factory, CLSCTX_LOCAL_SERVER, REGCLS_SINGLEUSE,
                                     &cookie)))
        return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    CoRevokeClassObject(cookie);
    CoUninitialize();
    return 0;
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (_wcsicmp(argv[i], L"/RegServer") == 0 || _wcsicmp(argv[i], L"-RegServer") == 0)
            return registerServer();
        if (_wcsicmp(argv[i], L"-Embedding") == 0 || _wcsicmp(argv[i], L"/Embedding") == 0)
            return serve();
    }
    std::fprintf(stderr, "Usage: lumen-test-host /RegServer | -Embedding\n");
    return 2;
}
