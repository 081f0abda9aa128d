#include "services/MacAddress.h"

#include "services/MacAddressRules.h"

static bool StartSockets() {
    // Never cleaned up: every later user of the sockets in this process shares the start.
    WSADATA data;
    return WSAStartup(2, &data) == 0;
}

void GetMacAddress(std::wstring& strMac) {
    static const MacMethods kSystem = {StartSockets, GetMacBySnmp, GetMacByNetbios, GetAdapterInfoList,
                                       GetMacByAdapterAddresses};
    strMac = FindMacAddress(kSystem);
}

void GetMacBySnmp(std::wstring& strMac) {
    // Stays loaded: the agent keeps its own state for the rest of the process.
    HMODULE mib = LoadLibraryW(L"inetmib1.dll");
    if (!mib) return;
    auto init = reinterpret_cast<PFNSNMPEXTENSIONINIT>(GetProcAddress(mib, "SnmpExtensionInit"));
    auto query = reinterpret_cast<PFNSNMPEXTENSIONQUERY>(GetProcAddress(mib, "SnmpExtensionQuery"));
    if (!init || !query) return;
    HANDLE trapEvent = nullptr;
    AsnObjectIdentifier view = {};
    init(GetTickCount(), &trapEvent, &view);
    WalkSnmpInterfaces(query, strMac);
}

void GetMacByNetbios(std::wstring& strMac) {
    QueryNetbiosMac(Netbios, strMac);
}

// Calls fill(buffer, &size) with a buffer of size bytes, once more with the size asked for when it was too
// small; the buffer on success, empty otherwise. ULONGLONG keeps the entries' 64-bit fields aligned.
template <typename Fill>
static std::vector<ULONGLONG> QueryList(ULONG size, Fill fill) {
    std::vector<ULONGLONG> buffer(size / sizeof(ULONGLONG) + 1);
    ULONG result = fill(buffer.data(), &size);
    if (result == ERROR_BUFFER_OVERFLOW) {
        buffer.assign(size / sizeof(ULONGLONG) + 1, 0);
        result = fill(buffer.data(), &size);
    }
    if (result != NO_ERROR) buffer.clear();
    return buffer;
}

void GetAdapterInfoList(std::vector<stNetPcInfo>& list) {
    auto buffer = QueryList(sizeof(IP_ADAPTER_INFO), [](void* data, ULONG* size) {
        return GetAdaptersInfo(static_cast<IP_ADAPTER_INFO*>(data), size);
    });
    if (buffer.empty()) return;
    for (auto* entry = reinterpret_cast<const IP_ADAPTER_INFO*>(buffer.data()); entry; entry = entry->Next)
        list.push_back(NetPcInfoFromAdapter(*entry));
}

void GetMacByAdapterAddresses(std::wstring& strMac) {
    auto buffer = QueryList(sizeof(IP_ADAPTER_ADDRESSES), [](void* data, ULONG* size) {
        return GetAdaptersAddresses(AF_UNSPEC, 0, nullptr, static_cast<IP_ADAPTER_ADDRESSES*>(data), size);
    });
    if (buffer.empty()) return;
    MacFromAdapterAddresses(reinterpret_cast<const IP_ADAPTER_ADDRESSES*>(buffer.data()), strMac);
}
