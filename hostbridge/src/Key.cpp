#include "hostbridge/src/Key.h"

#include <windows.h>

#include <bcrypt.h>
#include <cstdio>
#include <cstdlib>

namespace bridge {

namespace {

constexpr const char *kVariable = "LUMEN_HOST_TOKEN";
constexpr const char *kFileVariable = "LUMEN_HOST_TOKEN_FILE";
constexpr long kMaxFileBytes = 4096;

std::string environment(const char *name)
{
    const DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
    if (size == 0)
        return {};
    std::string value(size, '\0');
    const DWORD got = GetEnvironmentVariableA(name, value.data(), size);
    value.resize(got);
    return value;
}

std::string trimmed(const std::string &s)
{
    const char *blanks = " \t\r\n\v\f";
    const std::size_t first = s.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

std::string checked(const std::string &text, const std::string &from)
{
    const std::string key = trimmed(text);
    if (key.empty())
        throw SettingError("Invalid value of " + from + ": the key is blank");
    return key;
}

std::string hex(const unsigned char *bytes, std::size_t n)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < n; ++i) {
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 15];
    }
    return out;
}

} // namespace

std::string keyFromEnvironment()
{
    const std::string inVariable = environment(kVariable);
    const std::string file = environment(kFileVariable);
    if (!inVariable.empty() && !file.empty())
        throw SettingError(std::string("Set ") + kVariable + " or " + kFileVariable + ", not both");
    if (!inVariable.empty())
        return checked(inVariable, kVariable);
    if (file.empty())
        return {};
    // The name as Windows holds it, whatever the code page.
    std::wstring wide(MAX_PATH * 4, L'\0');
    wide.resize(GetEnvironmentVariableW(L"LUMEN_HOST_TOKEN_FILE", wide.data(), DWORD(wide.size())));
    FILE *f = _wfopen(wide.c_str(), L"rb");
    if (!f)
        throw SettingError(std::string("Invalid value of ") + kFileVariable + ": cannot read " +
                           file);
    std::string text(kMaxFileBytes, '\0');
    text.resize(std::fread(text.data(), 1, text.size(), f));
    std::fclose(f);
    const std::size_t end = text.find('\n');
    return checked(end == std::string::npos ? text : text.substr(0, end),
                   std::string(kFileVariable) + " " + file);
}

std::string freshChallenge()
{
    unsigned char bytes[32];
    if (!BCRYPT_SUCCESS(
            BCryptGenRandom(nullptr, bytes, sizeof bytes, BCRYPT_USE_SYSTEM_PREFERRED_RNG)))
        std::abort(); // no challenge without the system's generator: never a weak one
    return hex(bytes, sizeof bytes);
}

std::string answerTo(const std::string &key, const std::string &challenge)
{
    BCRYPT_ALG_HANDLE alg = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    unsigned char mac[32] = {};
    bool ok = BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&alg, BCRYPT_SHA256_ALGORITHM, nullptr,
                                                         BCRYPT_ALG_HANDLE_HMAC_FLAG));
    ok = ok && BCRYPT_SUCCESS(BCryptCreateHash(
                   alg, &hash, nullptr, 0, reinterpret_cast<PUCHAR>(const_cast<char *>(key.data())),
                   ULONG(key.size()), 0));
    ok = ok && BCRYPT_SUCCESS(BCryptHashData(
                   hash, reinterpret_cast<PUCHAR>(const_cast<char *>(challenge.data())),
                   ULONG(challenge.size()), 0));
    ok = ok && BCRYPT_SUCCESS(BCryptFinishHash(hash, mac, sizeof mac, 0));
    if (hash)
        BCryptDestroyHash(hash);
    if (alg)
        BCryptCloseAlgorithmProvider(alg, 0);
    // An answer that cannot be computed matches nothing a client sends.
    return ok ? hex(mac, sizeof mac) : std::string();
}

bool sameInConstantTime(const std::string &a, const std::string &b)
{
    unsigned char diff = a.size() == b.size() ? 0 : 1;
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i)
        diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diff == 0 && !a.empty();
}

} // namespace bridge
