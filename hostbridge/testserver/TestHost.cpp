#include "hostbridge/testserver/TestHost.h"

#include <oleauto.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace testhost {

namespace {

// The argument and result types of the host's table, written out on their
// own here so that the bridge's types are checked against an independent copy.
constexpr VARTYPE kShortRef = VT_I2 | VT_BYREF;
constexpr VARTYPE kDoubleRef = VT_R8 | VT_BYREF;
constexpr VARTYPE kFloatRef = VT_R4 | VT_BYREF;
constexpr VARTYPE kTextRef = VT_BSTR | VT_BYREF;
constexpr VARTYPE kCountsRef = VT_ARRAY | VT_I4 | VT_BYREF;

struct Entry
{
    const wchar_t *name;
    std::vector<VARTYPE> params;
    VARTYPE result;
};

std::vector<Entry> table(bool misdeclared)
{
    std::vector<Entry> t;
    for (const wchar_t *n : {L"testconnect", L"Minimize", L"Maximize", L"StartAcquire",
                             L"StopAcquire", L"Erasespectrum", L"presetsoff", L"presetson",
                             L"SetUseLibEff", L"ClearUseLibEff", L"GetAcquireStatus",
                             L"GetElapsedReal", L"GetElapsedLive", L"GetLibrary", L"GetUseLibEff"})
        t.push_back({n, {}, VT_BSTR});
    t.push_back({L"NumberOfCounts", {}, VT_I4});
    t.push_back({L"SetRealPreset", {kDoubleRef}, VT_BSTR});
    t.push_back({L"SetLivePreset", {misdeclared ? kFloatRef : kDoubleRef}, VT_BSTR});
    for (const wchar_t *n :
         {L"SetSpectrumID", L"SaveSpt", L"SampleDate", L"SampleTime", L"SampleUnits",
          L"ClsLoadROis", L"Analyze", L"PrintRprt", L"selectlibrary"})
        t.push_back({n, {kTextRef}, VT_BSTR});
    t.push_back({L"LoadConfig", {kTextRef, kTextRef}, VT_BSTR});
    t.push_back({L"SaveRprt", {kTextRef, kTextRef}, VT_BSTR});
    t.push_back({L"CopySpt", {kShortRef, kShortRef}, VT_BSTR});
    t.push_back({L"SetExtOutput", {kShortRef, kShortRef}, VT_BSTR});
    t.push_back({L"setprimary", {kShortRef}, VT_BSTR});
    t.push_back({L"GetExtInput", {kShortRef}, VT_BSTR});
    t.push_back({L"GetROIData", {kShortRef, VT_BSTR}, VT_BSTR});
    t.push_back({L"SampleQuantity", {VT_R4}, VT_EMPTY});
    t.push_back({L"GetCounts", {kCountsRef}, VT_EMPTY});
    t.push_back({L"GetDeadtime", {}, VT_R8});
    return t;
}

constexpr int kChannels = 1024;

std::wstring textOf(const VARIANT &v)
{
    const BSTR b = (v.vt & VT_BYREF) ? *v.pbstrVal : v.bstrVal;
    return b ? std::wstring(b, SysStringLen(b)) : std::wstring();
}

std::wstring trimmed(const std::wstring &s)
{
    const std::size_t a = s.find_first_not_of(L' ');
    return a == std::wstring::npos ? std::wstring() : s.substr(a, s.find_last_not_of(L' ') - a + 1);
}

class Object final : public IDispatch
{
public:
    explicit Object(void (*released)()) : m_released(released)
    {
        const char *mis = std::getenv("LUMEN_TESTHOST_MISDECLARE");
        m_table = table(mis && *mis == '1');
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **out) override
    {
        if (iid == IID_IUnknown || iid == IID_IDispatch) {
            *out = static_cast<IDispatch *>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --m_refs;
        if (left == 0) {
            if (m_typeInfo)
                m_typeInfo->Release();
            m_released();
            delete this;
        }
        return left;
    }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override
    {
        *count = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo **out) override
    {
        if (index != 0)
            return DISP_E_BADINDEX;
        if (!m_typeInfo) {
            const HRESULT hr = makeTypeInfo();
            if (FAILED(hr))
                return hr;
        }
        m_typeInfo->AddRef();
        *out = m_typeInfo;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR *names, UINT count, LCID,
                                            DISPID *ids) override
    {
        HRESULT hr = S_OK;
        for (UINT i = 0; i < count; ++i) {
            ids[i] = DISPID_UNKNOWN;
            for (std::size_t k = 0; k < m_table.size(); ++k)
                if (_wcsicmp(names[i], m_table[k].name) == 0)
                    ids[i] = DISPID(k + 1);
            if (ids[i] == DISPID_UNKNOWN)
                hr = DISP_E_UNKNOWNNAME;
        }
        return hr;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS *params,
                                     VARIANT *result, EXCEPINFO *exception,
                                     UINT *badArgument) override
    {
        if (id < 1 || std::size_t(id) > m_table.size())
            return DISP_E_MEMBERNOTFOUND;
        if (!(flags & DISPATCH_METHOD))
            return DISP_E_MEMBERNOTFOUND;
        const Entry &e = m_table[std::size_t(id - 1)];
        if (params->cNamedArgs != 0)
            return DISP_E_NONAMEDARGS;
        if (params->cArgs != e.params.size())
            return DISP_E_BADPARAMCOUNT;
        // Typed parameters convert nothing: a wrong type fails as on a real host.
        std::vector<VARIANT *> args;
        for (UINT i = 0; i < params->cArgs; ++i) {
            VARIANT &v = params->rgvarg[params->cArgs - 1 - i];
            if (v.vt != e.params[i]) {
                if (badArgument)
                    *badArgument = params->cArgs - 1 - i;
                return DISP_E_TYPEMISMATCH;
            }
            args.push_back(&v);
        }
        for (VARIANT *v : args) {
            if ((v->vt & VT_TYPEMASK) != VT_BSTR)
                continue;
            const std::wstring t = textOf(*v);
            if (t == L"!quit")
                ExitProcess(0);
            if (t == L"!slow")
                Sleep(1500);
            if (t == L"!busy" || (t == L"!busy-once" && !m_rejected)) {
                m_rejected = true;
                return RPC_E_CALL_REJECTED;
            }
            if (t.find(L"FAULTY") != std::wstring::npos) {
                if (exception) {
                    *exception = EXCEPINFO{};
                    exception->scode = E_FAIL;
                    exception->bstrSource = SysAllocString(L"LmnPro");
                    exception->bstrDescription = SysAllocString(
                        (L"Cannot read " + trimmed(t) + L": the file is damaged").c_str());
                }
                return DISP_E_EXCEPTION;
            }
        }
        VARIANT out;
        VariantInit(&out);
        call(e.name, args, out);
        if (result)
            *result = out;
        else
            VariantClear(&out);
        return S_OK;
    }

private:
    HRESULT makeTypeInfo()
    {
        std::vector<std::vector<PARAMDATA>> params(m_table.size());
        std::vector<METHODDATA> methods(m_table.size());
        for (std::size_t k = 0; k < m_table.size(); ++k) {
            for (VARTYPE vt : m_table[k].params)
                params[k].push_back(PARAMDATA{const_cast<OLECHAR *>(L"value"), vt});
            methods[k] =
                METHODDATA{const_cast<OLECHAR *>(m_table[k].name),
                           params[k].empty() ? nullptr : params[k].data(),
                           DISPID(k + 1),
                           UINT(k + 7),
                           CC_STDCALL,
                           UINT(params[k].size()),
                           DISPATCH_METHOD,
                           m_table[k].result == VT_EMPTY ? VARTYPE(VT_EMPTY) : m_table[k].result};
        }
        INTERFACEDATA data{methods.data(), UINT(methods.size())};
        return CreateDispTypeInfo(&data, LOCALE_SYSTEM_DEFAULT, &m_typeInfo);
    }

    static void reply(VARIANT &out, const std::wstring &text)
    {
        out.vt = VT_BSTR;
        out.bstrVal = SysAllocStringLen(text.data(), UINT(text.size()));
    }

    double elapsed() const
    {
        const ULONGLONG running = m_acquiring ? GetTickCount64() - m_startedAt : 0;
        return double(m_elapsedMs + running) / 1000.0;
    }

    void call(const std::wstring &name, std::vector<VARIANT *> &args, VARIANT &out)
    {
        if (name == L"testconnect" || name == L"Minimize" || name == L"Maximize" ||
            name == L"SetUseLibEff" || name == L"ClearUseLibEff" || name == L"presetsoff" ||
            name == L"presetson") {
            if (name == L"presetsoff" || name == L"presetson")
                m_presetsOn = name == L"presetson";
            if (name == L"SetUseLibEff" || name == L"ClearUseLibEff")
                m_useLibEff = name == L"SetUseLibEff";
            reply(out, L"OK");
        } else if (name == L"StartAcquire") {
            m_acquiring = true;
            m_startedAt = GetTickCount64();
            reply(out, L"OK");
        } else if (name == L"StopAcquire") {
            stop();
            reply(out, L"OK");
        } else if (name == L"Erasespectrum") {
            m_elapsedMs = 0;
            m_startedAt = GetTickCount64();
            reply(out, L"OK");
        } else if (name == L"GetAcquireStatus") {
            const double preset = m_livePreset > 0 ? m_livePreset : m_realPreset;
            if (m_acquiring && m_presetsOn && preset > 0 && elapsed() >= preset)
                stop();
            reply(out, !m_acquiring && m_presetsOn && preset > 0 && elapsed() >= preset
                           ? L"Reached Preset"
                       : m_acquiring ? L"Acquiring"
                                     : L"Stopped");
        } else if (name == L"GetElapsedReal" || name == L"GetElapsedLive") {
            wchar_t text[32];
            std::swprintf(text, 32, L"%g", std::floor(elapsed() * 100) / 100);
            reply(out, text);
        } else if (name == L"NumberOfCounts") {
            out.vt = VT_I4;
            out.lVal = kChannels;
        } else if (name == L"GetLibrary") {
            reply(out, L"OK" + (m_library.empty() ? std::wstring(L"Not Valid") : m_library));
        } else if (name == L"GetUseLibEff") {
            reply(out, m_useLibEff ? L"OK1" : L"OK0");
        } else if (name == L"SetRealPreset" || name == L"SetLivePreset") {
            // The host counts whole seconds, and says so by the value it hands back.
            const bool single = args[0]->vt == kFloatRef;
            const double asked = single ? *args[0]->pfltVal : *args[0]->pdblVal;
            const double seconds = asked > 0 ? std::ceil(asked) : 0;
            if (single)
                *args[0]->pfltVal = float(seconds);
            else
                *args[0]->pdblVal = seconds;
            (name == L"SetRealPreset" ? m_realPreset : m_livePreset) = seconds;
            reply(out, L"OK");
        } else if (name == L"selectlibrary") {
            m_library = trimmed(textOf(*args[0]));
            reply(out, L"OK");
        } else if (name == L"setprimary" || name == L"CopySpt") {
            for (VARIANT *v : args)
                if (*v->piVal < 1 || *v->piVal > 8) {
                    reply(out, L"Error: No spectrum memory " + std::to_wstring(*v->piVal));
                    return;
                }
            reply(out, L"OK");
        } else if (name == L"GetExtInput") {
            reply(out, L"OK0");
        } else if (name == L"SetExtOutput") {
            reply(out, L"OK");
        } else if (name == L"GetROIData") {
            roiField(*args[0]->piVal, textOf(*args[1]), out);
        } else if (name == L"SampleQuantity") {
            m_quantity = args[0]->fltVal;
        } else if (name == L"GetCounts") {
            fillCounts(*args[0]->pparray);
        } else if (name == L"GetDeadtime") {
            out.vt = VT_R8;
            out.dblVal = 1.25;
        } else {
            // The texts a script sets: kept as the host keeps them, blanks trimmed.
            for (VARIANT *v : args) {
                const std::wstring t = trimmed(textOf(*v));
                SysFreeString(*v->pbstrVal);
                *v->pbstrVal = SysAllocStringLen(t.data(), UINT(t.size()));
            }
            reply(out, L"OK");
        }
    }

    void stop()
    {
        if (m_acquiring)
            m_elapsedMs += GetTickCount64() - m_startedAt;
        m_acquiring = false;
    }

    void roiField(short roi, const std::wstring &key, VARIANT &out)
    {
        if (roi < 1 || roi > 6) {
            reply(out, L"Error: ROI " + std::to_wstring(roi) + L" is not defined");
            return;
        }
        static const wchar_t *const fields[][2] = {{L"ID", L""},
                                                   {L"NUCLIDE", L"Cs-137"},
                                                   {L"GROSS", L"30120"},
                                                   {L"BKG", L"1794"},
                                                   {L"CONT", L"1794"},
                                                   {L"NET", L"28326"},
                                                   {L"CENTROID", L"661.66"},
                                                   {L"CENTER", L"1323.40"},
                                                   {L"PEAK", L"2210"},
                                                   {L"FWHM", L"1.85"},
                                                   {L"ACTIVITY", L"1.234E+03"},
                                                   {L"DETEFF", L"2.815E-02"},
                                                   {L"MDA", L"4.210E+00"},
                                                   {L"YIELD", L"0.8510"}};
        for (const auto &f : fields)
            if (key == f[0]) {
                reply(out, L"OK" + (*f[1] ? std::wstring(f[1]) : std::to_wstring(roi)));
                return;
            }
        reply(out, L"Error: Unknown ROI field: " + key);
    }

    static void fillCounts(SAFEARRAY *counts)
    {
        VARTYPE vt = VT_EMPTY;
        if (!counts || SafeArrayGetDim(counts) != 1 || FAILED(SafeArrayGetVartype(counts, &vt)) ||
            vt != VT_I4)
            return;
        LONG low = 0, high = -1;
        SafeArrayGetLBound(counts, 1, &low);
        SafeArrayGetUBound(counts, 1, &high);
        void *data = nullptr;
        if (FAILED(SafeArrayAccessData(counts, &data)))
            return;
        LONG *values = static_cast<LONG *>(data);
        for (LONG i = 0; i <= high - low; ++i)
            values[i] = i < kChannels ? (i * 7919) % 1000 : 0;
        SafeArrayUnaccessData(counts);
    }

    void (*m_released)();
    ULONG m_refs = 1;
    ITypeInfo *m_typeInfo = nullptr;
    std::vector<Entry> m_table;
    bool m_rejected = false;
    bool m_acquiring = false;
    bool m_presetsOn = true;
    bool m_useLibEff = false;
    ULONGLONG m_startedAt = 0;
    ULONGLONG m_elapsedMs = 0;
    double m_realPreset = 0;
    double m_livePreset = 0;
    float m_quantity = 0;
    std::wstring m_library;
};

} // namespace

IDispatch *createObject(void (*released)())
{
    return new Object(released);
}

} // namespace testhost
