#include "services/MacAddressRules.h"

#include <cstring>

#include "win/Str.h"

const wchar_t kZeroMac[] = L"00-00-00-00-00-00";

bool IsMacFound(const std::wstring& mac) {
    return !mac.empty() && mac != kZeroMac;
}

std::wstring FormatMacPairs(const BYTE* bytes, size_t count) {
    std::wstring text;
    for (size_t i = 0; i < count; ++i)
        text += Format(i + 1 < count ? L"%.2X-" : L"%.2X", bytes[i]);
    return text;
}

std::wstring FindMacAddress(const MacMethods& methods) {
    std::wstring mac = kZeroMac;
    if (methods.startSockets()) methods.snmp(mac);
    if (!IsMacFound(mac)) methods.netbios(mac);
    if (!IsMacFound(mac)) {
        std::vector<stNetPcInfo> list;
        methods.adapterList(list);
        if (const stNetPcInfo* info = PickAdapterInfo(list)) mac = info->strMac;
    }
    if (!IsMacFound(mac) && methods.startSockets()) methods.snmp(mac);
    if (!IsMacFound(mac)) methods.adapterAddresses(mac);
    for (wchar_t& c : mac) {
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    }
    return mac;
}

// ---- SNMP ----------------------------------------------------------------------------------------------------

static UINT kIfNumberIds[] = {1, 3, 6, 1, 2, 1, 2, 1};
static UINT kIfTypeIds[] = {1, 3, 6, 1, 2, 1, 2, 2, 1, 3};
static UINT kIfPhysAddressIds[] = {1, 3, 6, 1, 2, 1, 2, 2, 1, 6};
static AsnObjectIdentifier kIfNumber = {ARRAYSIZE(kIfNumberIds), kIfNumberIds};
static AsnObjectIdentifier kIfType = {ARRAYSIZE(kIfTypeIds), kIfTypeIds};
static AsnObjectIdentifier kIfPhysAddress = {ARRAYSIZE(kIfPhysAddressIds), kIfPhysAddressIds};
static const AsnInteger32 kEthernetType = 6;  // ethernetCsmacd

static bool InColumn(const AsnObjectIdentifier& name, AsnObjectIdentifier& column) {
    auto& nameRef = const_cast<AsnObjectIdentifier&>(name);  // the system's compare takes non-const pointers
    return name.idLength >= column.idLength && SnmpUtilOidNCmp(&nameRef, &column, column.idLength) == 0;
}

bool MacFromSnmpAnswer(const SnmpVarBind& type, const SnmpVarBind& address, std::wstring& mac) {
    if (!InColumn(type.name, kIfType)) return false;
    if (type.value.asnType != ASN_INTEGER || type.value.asnValue.number != kEthernetType) return false;
    if (!InColumn(address.name, kIfPhysAddress) || address.value.asnType != ASN_OCTETSTRING) return false;
    const AsnOctetString& octets = address.value.asnValue.string;
    // Six bytes are read below: a shorter answer cannot be an Ethernet address.
    if (octets.stream == nullptr || octets.length < 6) return false;
    static const BYTE kDialUp[] = {'D', 'E', 'S', 'T', 0};  // the address the system gives dial-up adapters
    if (memcmp(octets.stream, kDialUp, sizeof(kDialUp)) == 0) return false;
    static const BYTE kZero[6] = {};
    if (memcmp(octets.stream, kZero, sizeof(kZero)) == 0) return false;
    mac = FormatMacPairs(octets.stream, 6);
    return true;
}

// The agent writes a fresh value into each binding; the previous one is ours to free. The name stays: the next
// GET-NEXT starts from it. (The 32-bit import library lacks SnmpUtilAsnAnyFree, hence the detour.)
static void ClearValue(SnmpVarBind& bind) {
    AsnObjectIdentifier name = {};
    SnmpUtilOidCpy(&name, &bind.name);
    SnmpUtilVarBindFree(&bind);
    bind.name = name;
    bind.value.asnType = ASN_NULL;
}

void WalkSnmpInterfaces(PFNSNMPEXTENSIONQUERY query, std::wstring& mac) {
    SnmpVarBind binds[2] = {};
    binds[0].value.asnType = binds[1].value.asnType = ASN_NULL;
    SnmpVarBindList list = {binds, 1};
    AsnInteger32 status = 0, index = 0;

    SnmpUtilOidCpy(&binds[0].name, &kIfNumber);
    AsnInteger32 count = 0;
    if (query(SNMP_PDU_GETNEXT, &list, &status, &index) && binds[0].value.asnType == ASN_INTEGER)
        count = binds[0].value.asnValue.number;

    SnmpUtilVarBindFree(&binds[0]);
    binds[0].value.asnType = ASN_NULL;
    SnmpUtilOidCpy(&binds[0].name, &kIfType);
    SnmpUtilOidCpy(&binds[1].name, &kIfPhysAddress);
    list.len = 2;
    for (AsnInteger32 i = 0; i < count; ++i) {
        ClearValue(binds[0]);
        ClearValue(binds[1]);
        if (!query(SNMP_PDU_GETNEXT, &list, &status, &index)) continue;
        if (MacFromSnmpAnswer(binds[0], binds[1], mac)) break;
    }
    SnmpUtilVarBindFree(&binds[0]);
    SnmpUtilVarBindFree(&binds[1]);
}

// ---- NetBIOS -------------------------------------------------------------------------------------------------

void QueryNetbiosMac(NetbiosFunc netbios, std::wstring& mac) {
    NCB ncb = {};
    LANA_ENUM lanas = {};
    ncb.ncb_command = NCBENUM;
    ncb.ncb_buffer = reinterpret_cast<PUCHAR>(&lanas);
    ncb.ncb_length = sizeof(lanas);
    if (netbios(&ncb) != NRC_GOODRET) return;
    // Several LANAs: which one is the network card cannot be told, so this way gives up with an empty text.
    if (lanas.length > 1) {
        mac.clear();
        return;
    }
    if (lanas.length == 0) return;

    ncb = {};
    ncb.ncb_command = NCBRESET;
    ncb.ncb_lana_num = lanas.lana[0];
    if (netbios(&ncb) != NRC_GOODRET) return;

    struct {
        ADAPTER_STATUS status;
        NAME_BUFFER names[30];
    } adapter = {};
    static_assert(sizeof(adapter) == 600, "adapter status and thirty names");
    ncb = {};
    ncb.ncb_command = NCBASTAT;
    ncb.ncb_lana_num = lanas.lana[0];
    ncb.ncb_callname[0] = '*';
    ncb.ncb_buffer = reinterpret_cast<PUCHAR>(&adapter);
    ncb.ncb_length = sizeof(adapter);
    if (netbios(&ncb) != NRC_GOODRET) return;
    mac = FormatMacPairs(adapter.status.adapter_address, 6);
}

// ---- Adapter lists -------------------------------------------------------------------------------------------

// The system's fixed-size text fields, read up to their end even when no zero byte ends them.
template <size_t N>
static std::wstring FieldText(const char (&field)[N]) {
    return FromAnsi(std::string(field, strnlen(field, N)));
}

stNetPcInfo NetPcInfoFromAdapter(const IP_ADAPTER_INFO& adapter) {
    stNetPcInfo info;
    info.strIp = FieldText(adapter.IpAddressList.IpAddress.String);
    UINT length =
        adapter.AddressLength < MAX_ADAPTER_ADDRESS_LENGTH ? adapter.AddressLength : MAX_ADAPTER_ADDRESS_LENGTH;
    info.strMac = FormatMacPairs(adapter.Address, length);
    info.strMask = FieldText(adapter.IpAddressList.IpMask.String);
    info.strGateway = FieldText(adapter.GatewayList.IpAddress.String);
    info.strDescription = FieldText(adapter.Description);
    info.strIndex = Format(L"%d", static_cast<int>(adapter.ComboIndex));
    info.strName = FieldText(adapter.AdapterName);
    info.strType = AdapterTypeName(adapter.Type);
    return info;
}

std::wstring AdapterTypeName(UINT type) {
    static const struct {
        UINT type;
        const wchar_t* name;
    } kNames[] = {
        {1, L"其它"}, {6, L"以太网"}, {9, L"令牌环"}, {15, L"FDDI"}, {23, L"PPP"}, {24, L"回路"}, {28, L"Slip"},
    };
    for (const auto& entry : kNames) {
        if (entry.type == type) return entry.name;
    }
    return Format(L"未知类型 %ld", static_cast<long>(type));
}

const stNetPcInfo* PickAdapterInfo(const std::vector<stNetPcInfo>& list) {
    // Virtual adapters of VMware carry made-up addresses shared between machines.
    for (const stNetPcInfo& info : list) {
        if (!info.strMac.empty() && info.strDescription.find(L"VMware") == std::wstring::npos) return &info;
    }
    return nullptr;
}

bool MacFromAdapterAddresses(const IP_ADAPTER_ADDRESSES* first, std::wstring& mac) {
    for (const IP_ADAPTER_ADDRESSES* entry = first; entry; entry = entry->Next) {
        if (entry->PhysicalAddressLength == 6) {
            mac = FormatMacPairs(entry->PhysicalAddress, 6);
            return true;
        }
    }
    return false;
}
