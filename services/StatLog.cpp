#include "services/StatLog.h"

#include <winsock2.h>  // before windows.h, which the machine-identity headers need
#include <windows.h>
#include <bcrypt.h>

#include <ctime>

#include "services/Hosts.h"
#include "services/HttpClient.h"
#include "services/MacAddress.h"
#include "services/MacAddressRules.h"
#include "win/Handle.h"
#include "win/Str.h"

static const wchar_t kStatKey[] = L"Rq7#vLb2Wd9k";
static const wchar_t kStatPath[] = L"/receive/micoclient?log=";

struct AlgorithmTraits {
    static BCRYPT_ALG_HANDLE Invalid() { return nullptr; }
    static bool IsValid(BCRYPT_ALG_HANDLE h) { return h != nullptr; }
    static void Close(BCRYPT_ALG_HANDLE h) { BCryptCloseAlgorithmProvider(h, 0); }
};
struct HashTraits {
    static BCRYPT_HASH_HANDLE Invalid() { return nullptr; }
    static bool IsValid(BCRYPT_HASH_HANDLE h) { return h != nullptr; }
    static void Close(BCRYPT_HASH_HANDLE h) { BCryptDestroyHash(h); }
};

std::wstring Md5Hex(const std::wstring& text) {
    std::string bytes = ToAnsi(text);
    ScopedResource<BCRYPT_ALG_HANDLE, AlgorithmTraits> algorithm;
    if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(algorithm.Receive(), BCRYPT_MD5_ALGORITHM, nullptr, 0))) return {};
    ScopedResource<BCRYPT_HASH_HANDLE, HashTraits> hash;
    if (!BCRYPT_SUCCESS(BCryptCreateHash(algorithm, hash.Receive(), nullptr, 0, nullptr, 0, 0))) return {};
    auto* data = reinterpret_cast<UCHAR*>(bytes.data());
    if (!BCRYPT_SUCCESS(BCryptHashData(hash, data, static_cast<ULONG>(bytes.size()), 0))) return {};
    UCHAR digest[16] = {};
    if (!BCRYPT_SUCCESS(BCryptFinishHash(hash, digest, sizeof(digest), 0))) return {};
    // Byte 0 first, high nibble first: the usual written form of an MD5 digest.
    std::wstring hex;
    for (UCHAR b : digest)
        hex += Format(L"%02x", b);
    return hex;
}

std::wstring StripZcPrefix(const std::wstring& uid) {
    return uid.compare(0, 2, L"zc") == 0 ? uid.substr(2) : uid;
}

std::wstring FormatStatRecord(const std::wstring& product,
                              const std::wstring& uid,
                              const std::wstring& event,
                              const std::wstring& mac,
                              int64_t time) {
    // The server reads the time as the low 32 bits of the clock, signed.
    int time32 = static_cast<int>(static_cast<uint32_t>(time));
    // A machine whose address no method found still sends one: the zero address, never an empty field.
    const wchar_t* address = mac.empty() ? kZeroMac : mac.c_str();
    return Format(L"%s|%s|%s|%s|||||%s|%d", product.c_str(), uid.c_str(), event.c_str(), L"159372", address, time32);
}

std::wstring StatLogAddress(const std::wstring& record) {
    // Sent as it stands: the server signs and splits the raw text, so nothing is percent-encoded.
    return kStatHost + std::wstring(kStatPath) + record + L"|" + Md5Hex(record + kStatKey);
}

void SendStatLog(std::wstring strUid, std::wstring strProduct, std::wstring strEvent) {
    std::wstring mac;
    GetMacAddress(mac);
    std::wstring record = FormatStatRecord(strProduct, StripZcPrefix(strUid), strEvent, mac, _time64(nullptr));
    CHttpClient client;
    std::wstring response;
    client.Get(StatLogAddress(record), response);
}
