#include "hostbridge/src/HResultText.h"

#include <cstdio>

namespace bridge {

namespace {

struct Known
{
    unsigned long hr;
    const char *name;
    const char *meaning;
};

const Known kKnown[] = {
    {0x80004001, "E_NOTIMPL", "not implemented"},
    {0x80004002, "E_NOINTERFACE", "no such interface"},
    {0x80004003, "E_POINTER", "invalid pointer"},
    {0x80004004, "E_ABORT", "operation aborted"},
    {0x80004005, "E_FAIL", "unspecified failure"},
    {0x8000FFFF, "E_UNEXPECTED", "unexpected failure"},
    {0x80070005, "E_ACCESSDENIED", "access denied"},
    {0x80070006, "E_HANDLE", "invalid handle"},
    {0x8007000E, "E_OUTOFMEMORY", "out of memory"},
    {0x80070057, "E_INVALIDARG", "invalid argument"},
    {0x80020001, "DISP_E_UNKNOWNINTERFACE", "unknown interface"},
    {0x80020003, "DISP_E_MEMBERNOTFOUND", "the host has no such member"},
    {0x80020004, "DISP_E_PARAMNOTFOUND", "parameter not found"},
    {0x80020005, "DISP_E_TYPEMISMATCH", "an argument has the wrong type"},
    {0x80020006, "DISP_E_UNKNOWNNAME", "the host has no method of this name"},
    {0x80020007, "DISP_E_NONAMEDARGS", "named arguments not supported"},
    {0x80020008, "DISP_E_BADVARTYPE", "bad variant type"},
    {0x80020009, "DISP_E_EXCEPTION", "the host raised an exception"},
    {0x8002000A, "DISP_E_OVERFLOW", "a value is out of range"},
    {0x8002000B, "DISP_E_BADINDEX", "index out of range"},
    {0x8002000E, "DISP_E_BADPARAMCOUNT", "wrong number of arguments"},
    {0x8002000F, "DISP_E_PARAMNOTOPTIONAL", "a required argument is missing"},
    {0x80040154, "REGDB_E_CLASSNOTREG", "the host's class is not registered"},
    {0x800401F3, "CO_E_CLASSSTRING", "no program is registered under this ProgID"},
    {0x800401F0, "CO_E_NOTINITIALIZED", "COM is not initialized"},
    {0x800401FD, "CO_E_OBJNOTCONNECTED", "the host's object is no longer connected"},
    {0x80080005, "CO_E_SERVER_EXEC_FAILURE", "the host application could not be started"},
    {0x80010001, "RPC_E_CALL_REJECTED", "the host rejected the call"},
    {0x80010007, "RPC_E_SERVER_DIED", "the host application ended during the call"},
    {0x80010012, "RPC_E_SERVER_DIED_DNE", "the host application ended before the call"},
    {0x80010105, "RPC_E_SERVERFAULT", "the host application failed in the call"},
    {0x80010108, "RPC_E_DISCONNECTED", "the host application has disconnected"},
    {0x8001010A, "RPC_E_SERVERCALL_RETRYLATER", "the host application is busy"},
    {0x8001010D, "RPC_E_CANTCALLOUT_ININPUTSYNCCALL", "cannot call out in an input call"},
    {0x8001010E, "RPC_E_WRONG_THREAD", "called on the wrong thread"},
    {0x800706BA, "RPC_S_SERVER_UNAVAILABLE", "the host application is unavailable"},
    {0x800706BE, "RPC_S_CALL_FAILED", "the remote call failed"},
    {0x800706BF, "RPC_S_CALL_FAILED_DNE", "the remote call failed and did not run"},
};

} // namespace

std::string describeHResult(long hr)
{
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
    for (const Known &k : kKnown)
        if (k.hr == static_cast<unsigned long>(hr))
            return std::string(code) + " " + k.name + " (" + k.meaning + ")";
    return std::string(code) + " (no name known for it)";
}

bool hostIsGone(long hr)
{
    switch (static_cast<unsigned long>(hr)) {
    case 0x800401FD: // CO_E_OBJNOTCONNECTED
    case 0x80010007: // RPC_E_SERVER_DIED
    case 0x80010012: // RPC_E_SERVER_DIED_DNE
    case 0x80010108: // RPC_E_DISCONNECTED
    case 0x800706BA: // RPC_S_SERVER_UNAVAILABLE
    case 0x800706BE: // RPC_S_CALL_FAILED
    case 0x800706BF: // RPC_S_CALL_FAILED_DNE
        return true;
    default:
        return false;
    }
}

bool hostIsBusy(long hr)
{
    return static_cast<unsigned long>(hr) == 0x80010001 || // RPC_E_CALL_REJECTED
           static_cast<unsigned long>(hr) == 0x8001010A;   // RPC_E_SERVERCALL_RETRYLATER
}

} // namespace bridge
