#include "hostbridge/src/Probe.h"

#include "hostbridge/src/ComHost.h"
#include "hostbridge/src/Methods.h"

#include <oleauto.h>

#include <string>
#include <vector>

namespace bridge {

namespace {

std::string baseName(VARTYPE vt)
{
    switch (vt) {
    case VT_I2:
        return "short";
    case VT_I4:
    case VT_INT:
        return "long";
    case VT_R4:
        return "float";
    case VT_R8:
        return "double";
    case VT_BSTR:
        return "BSTR";
    case VT_VARIANT:
        return "VARIANT";
    case VT_VOID:
    case VT_EMPTY:
        return "void";
    case VT_HRESULT:
        return "HRESULT";
    case VT_BOOL:
        return "VARIANT_BOOL";
    case VT_DISPATCH:
        return "IDispatch*";
    default:
        return "VT " + std::to_string(vt);
    }
}

// Type descriptions come in two spellings: a pointer or array described by
// an inner description (type libraries), or flags on the type itself.
std::string typeText(const TYPEDESC &t)
{
    if (t.vt == VT_PTR)
        return typeText(*t.lptdesc) + "*";
    if (t.vt == VT_SAFEARRAY)
        return "SAFEARRAY(" + typeText(*t.lptdesc) + ")";
    const VARTYPE base = t.vt & VT_TYPEMASK;
    std::string text = baseName(base);
    if (t.vt & VT_ARRAY)
        text = "SAFEARRAY(" + text + ")";
    if (t.vt & VT_BYREF)
        text += "*";
    return text;
}

std::string resultText(ResultType r)
{
    switch (r) {
    case ResultType::Text:
        return "BSTR";
    case ResultType::Int32:
        return "long";
    case ResultType::Real64:
        return "double";
    case ResultType::Nothing:
        return "void";
    }
    return "?";
}

// A declared VARIANT takes whatever is sent; a host that gives a short where
// a long is read, or a float where a double is, converts without loss.
bool agrees(const std::string &declared, const std::string &sent)
{
    if (declared == sent)
        return true;
    if (declared == "VARIANT" || declared == "VARIANT*")
        return sent.back() != '*' || declared == "VARIANT*";
    if (sent == "long")
        return declared == "short";
    if (sent == "double")
        return declared == "float";
    if (sent == "void")
        return declared == "HRESULT";
    return false;
}

struct Declared
{
    std::vector<std::string> params;
    std::string result;
};

// The type a class describes its methods in: a class names its default
// interface rather than listing the methods itself.
ITypeInfo *methodsOf(ITypeInfo *info)
{
    TYPEATTR *attr = nullptr;
    if (FAILED(info->GetTypeAttr(&attr)))
        return nullptr;
    const bool coclass = attr->typekind == TKIND_COCLASS && attr->cImplTypes > 0;
    info->ReleaseTypeAttr(attr);
    HREFTYPE ref = 0;
    ITypeInfo *inner = nullptr;
    if (coclass && SUCCEEDED(info->GetRefTypeOfImplType(0, &ref)) &&
        SUCCEEDED(info->GetRefTypeInfo(ref, &inner)))
        return inner;
    info->AddRef();
    return info;
}

bool findDeclared(ITypeInfo *info, const char *name, Declared &out)
{
    TYPEATTR *attr = nullptr;
    if (FAILED(info->GetTypeAttr(&attr)))
        return false;
    const WORD functions = attr->cFuncs;
    info->ReleaseTypeAttr(attr);
    BSTR wanted = toBstr(name);
    bool found = false;
    for (WORD i = 0; i < functions && !found; ++i) {
        FUNCDESC *f = nullptr;
        if (FAILED(info->GetFuncDesc(i, &f)))
            continue;
        BSTR fname = nullptr;
        UINT count = 0;
        if (SUCCEEDED(info->GetNames(f->memid, &fname, 1, &count)) && count == 1 &&
            VarBstrCmp(fname, wanted, LOCALE_USER_DEFAULT, NORM_IGNORECASE) == VARCMP_EQ &&
            !(f->invkind & (INVOKE_PROPERTYPUT | INVOKE_PROPERTYPUTREF))) {
            found = true;
            out.result = typeText(f->elemdescFunc.tdesc);
            for (SHORT p = 0; p < f->cParams; ++p) {
                const ELEMDESC &e = f->lprgelemdescParam[p];
                // A dual interface's result is its last, retval parameter.
                if (e.paramdesc.wParamFlags & PARAMFLAG_FRETVAL) {
                    out.result = typeText(e.tdesc);
                    out.result.pop_back();
                } else {
                    out.params.push_back(typeText(e.tdesc));
                }
            }
        }
        SysFreeString(fname);
        info->ReleaseFuncDesc(f);
    }
    SysFreeString(wanted);
    return found;
}

std::string list(const std::vector<std::string> &types, const std::string &result)
{
    std::string text = "(";
    for (std::size_t i = 0; i < types.size(); ++i)
        text += (i ? ", " : "") + types[i];
    return text + ") -> " + result;
}

} // namespace

bool probeTypes(IDispatch *object, std::FILE *out)
{
    ITypeInfo *given = nullptr;
    UINT count = 0;
    ITypeInfo *info = nullptr;
    if (SUCCEEDED(object->GetTypeInfoCount(&count)) && count > 0 &&
        SUCCEEDED(object->GetTypeInfo(0, LOCALE_USER_DEFAULT, &given)) && given) {
        info = methodsOf(given);
        given->Release();
    }
    if (!info) {
        std::fprintf(out, "The host's object gives no type information: nothing to compare.\n");
        return false;
    }
    bool allAgree = true;
    std::fprintf(out, "%-18s %-40s %s\n", "method", "declared by the host", "sent by the bridge");
    for (const Method &m : methods()) {
        std::vector<std::string> sent;
        for (ArgType t : argTypes(m.shape))
            sent.push_back(typeName(t));
        const std::string sentResult = resultText(resultType(m.shape));
        Declared declared;
        bool ok = findDeclared(info, m.name, declared);
        std::string declaredText = ok ? list(declared.params, declared.result) : "(not declared)";
        ok = ok && declared.params.size() == sent.size() && agrees(declared.result, sentResult);
        for (std::size_t i = 0; ok && i < sent.size(); ++i)
            ok = agrees(declared.params[i], sent[i]);
        allAgree = allAgree && ok;
        std::fprintf(out, "%-18s %-40s %s%s\n", m.name, declaredText.c_str(),
                     list(sent, sentResult).c_str(), ok ? "" : "  <-- MISMATCH");
    }
    info->Release();
    std::fflush(out);
    return allAgree;
}

} // namespace bridge
