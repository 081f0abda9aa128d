#include <gtest/gtest.h>

#include "services/MacAddressRules.h"

#include <cstring>
#include <regex>

TEST(MacAddress, FormatsAnyNumberOfPairs) {
    const BYTE bytes[] = {0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e, 0xf0, 0x0f};
    struct {
        size_t count;
        const wchar_t* text;
    } cases[] = {
        {0, L""}, {1, L"00"}, {2, L"00-1A"}, {6, L"00-1A-2B-3C-4D-5E"}, {8, L"00-1A-2B-3C-4D-5E-F0-0F"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatMacPairs(bytes, c.count), c.text) << c.count << " bytes";
}

TEST(MacAddress, WhatCountsAsFound) {
    struct {
        const wchar_t* mac;
        bool found;
    } cases[] = {
        {L"", false},
        {L"00-00-00-00-00-00", false},
        {L"00-1A-2B-3C-4D-5E", true},
        {L"00-00-00-00-00-00-00", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsMacFound(c.mac), c.found) << testing::PrintToString(c.mac);
}

// ---- The order of the ways, with fakes -----------------------------------------------------------------------

struct FakeWays {
    bool sockets = true;
    const wchar_t* snmp[2] = {nullptr, nullptr};  // what the first and second SNMP walk find
    enum { kNothing, kClear, kSet } netbios = kNothing;
    const wchar_t* netbiosMac = nullptr;
    std::vector<stNetPcInfo> list;
    const wchar_t* addresses = nullptr;
    std::string trace;
    int snmpCalls = 0;
};
static FakeWays* g_fake = nullptr;

static bool FakeSockets() {
    g_fake->trace += "W";
    return g_fake->sockets;
}
static void FakeSnmp(std::wstring& mac) {
    g_fake->trace += "S";
    const wchar_t* found = g_fake->snmp[g_fake->snmpCalls++ % 2];
    if (found) mac = found;
}
static void FakeNetbios(std::wstring& mac) {
    g_fake->trace += "N";
    if (g_fake->netbios == FakeWays::kClear) mac.clear();
    if (g_fake->netbios == FakeWays::kSet) mac = g_fake->netbiosMac;
}
static void FakeList(std::vector<stNetPcInfo>& list) {
    g_fake->trace += "L";
    list = g_fake->list;
}
static void FakeAddresses(std::wstring& mac) {
    g_fake->trace += "A";
    if (g_fake->addresses) mac = g_fake->addresses;
}

static stNetPcInfo Adapter(const wchar_t* mac, const wchar_t* description) {
    stNetPcInfo info;
    info.strMac = mac;
    info.strDescription = description;
    return info;
}

TEST(MacAddress, WaysRunInOrderUntilOneFindsAnAddress) {
    struct Case {
        const char* name;
        FakeWays ways;
        const wchar_t* result;
        const char* trace;
    };
    Case cases[] = {
        {"snmp finds, lower case comes out upper", {true, {L"00-1a-2b-3c-4d-5e", nullptr}}, L"00-1A-2B-3C-4D-5E", "WS"},
        {"netbios finds", {true, {}, FakeWays::kSet, L"02-FC-00-00-00-01"}, L"02-FC-00-00-00-01", "WSN"},
        {"netbios zero address goes on to the list",
         {true, {}, FakeWays::kSet, L"00-00-00-00-00-00", {Adapter(L"0A-0B-0C-0D-0E-0F", L"Realtek")}},
         L"0A-0B-0C-0D-0E-0F",
         "WSNL"},
        {"vmware passed over even when first",
         {true,
          {},
          FakeWays::kNothing,
          nullptr,
          {Adapter(L"00-50-56-C0-00-08", L"VMware Virtual Ethernet Adapter"), Adapter(L"0A-0B-0C-0D-0E-0F", L"Intel")}},
         L"0A-0B-0C-0D-0E-0F",
         "WSNL"},
        {"vmware in another case is taken",
         {true, {}, FakeWays::kNothing, nullptr, {Adapter(L"00-50-56-C0-00-08", L"vmware adapter")}},
         L"00-50-56-C0-00-08",
         "WSNL"},
        {"second snmp walk after an unusable list",
         {true,
          {nullptr, L"11-22-33-44-55-66"},
          FakeWays::kNothing,
          nullptr,
          {Adapter(L"", L"Tunnel"), Adapter(L"00-50-56-C0-00-01", L"VMware")}},
         L"11-22-33-44-55-66",
         "WSNLWS"},
        {"adapter addresses last",
         {true, {}, FakeWays::kNothing, nullptr, {}, L"aa-bb-cc-dd-ee-ff"},
         L"AA-BB-CC-DD-EE-FF",
         "WSNLWSA"},
        {"no sockets, no snmp",
         {false, {L"11-22-33-44-55-66", L"11-22-33-44-55-66"}, FakeWays::kNothing, nullptr, {}, L"AA-BB-CC-DD-EE-FF"},
         L"AA-BB-CC-DD-EE-FF",
         "WNLWA"},
        {"nothing anywhere", {}, L"00-00-00-00-00-00", "WSNLWSA"},
        {"several lanas and nothing later: empty", {true, {}, FakeWays::kClear}, L"", "WSNLWSA"},
        {"several lanas, the list finds",
         {true, {}, FakeWays::kClear, nullptr, {Adapter(L"0A-0B-0C-0D-0E-0F", L"Intel")}},
         L"0A-0B-0C-0D-0E-0F",
         "WSNL"},
    };
    static const MacMethods kFakes = {FakeSockets, FakeSnmp, FakeNetbios, FakeList, FakeAddresses};
    for (Case& c : cases) {
        g_fake = &c.ways;
        EXPECT_EQ(FindMacAddress(kFakes), c.result) << c.name;
        EXPECT_EQ(c.ways.trace, c.trace) << c.name;
    }
    g_fake = nullptr;
}

TEST(MacAddress, AdapterListPicksTheFirstUsableRecord) {
    struct {
        const char* name;
        std::vector<stNetPcInfo> list;
        int picked;  // index, -1 for none
    } cases[] = {
        {"empty list", {}, -1},
        {"first", {Adapter(L"01", L"a"), Adapter(L"02", L"b")}, 0},
        {"empty address skipped", {Adapter(L"", L"a"), Adapter(L"02", L"b")}, 1},
        {"VMware skipped", {Adapter(L"01", L"My VMware NIC"), Adapter(L"02", L"b")}, 1},
        {"VMWARE kept", {Adapter(L"01", L"VMWARE"), Adapter(L"02", L"b")}, 0},
        {"none usable", {Adapter(L"", L"a"), Adapter(L"01", L"VMware")}, -1},
    };
    for (const auto& c : cases) {
        const stNetPcInfo* picked = PickAdapterInfo(c.list);
        int index = picked ? static_cast<int>(picked - c.list.data()) : -1;
        EXPECT_EQ(index, c.picked) << c.name;
    }
}

// ---- Adapter lists -------------------------------------------------------------------------------------------

TEST(MacAddressAdapters, RecordOfAnAdapterInfoEntry) {
    IP_ADAPTER_INFO entry = {};
    strcpy(entry.AdapterName, "{4D36E972-E325-11CE-BFC1-08002BE10318}");
    strcpy(entry.Description, "Realtek PCIe GbE \xBC\xD2\xD3\xC3");  // "家用" in code page 936
    strcpy(entry.IpAddressList.IpAddress.String, "192.168.1.23");
    strcpy(entry.IpAddressList.IpMask.String, "255.255.255.0");
    strcpy(entry.GatewayList.IpAddress.String, "192.168.1.1");
    entry.ComboIndex = 11;
    entry.Type = 6;
    const BYTE address[] = {0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e, 0x6f, 0x70};
    memcpy(entry.Address, address, sizeof(address));
    entry.AddressLength = 6;

    stNetPcInfo info = NetPcInfoFromAdapter(entry);
    EXPECT_EQ(info.strIp, L"192.168.1.23");
    EXPECT_EQ(info.strMac, L"00-1A-2B-3C-4D-5E");
    EXPECT_EQ(info.strMask, L"255.255.255.0");
    EXPECT_EQ(info.strGateway, L"192.168.1.1");
    EXPECT_EQ(info.strDescription, L"Realtek PCIe GbE 家用");
    EXPECT_EQ(info.strIndex, L"11");
    EXPECT_EQ(info.strName, L"{4D36E972-E325-11CE-BFC1-08002BE10318}");
    EXPECT_EQ(info.strType, L"以太网");

    struct {
        UINT length;
        const wchar_t* mac;
    } lengths[] = {
        {0, L""},
        {1, L"00"},
        {6, L"00-1A-2B-3C-4D-5E"},
        {8, L"00-1A-2B-3C-4D-5E-6F-70"},
        {200, L"00-1A-2B-3C-4D-5E-6F-70"},  // never beyond the entry's eight bytes
    };
    for (const auto& c : lengths) {
        entry.AddressLength = c.length;
        EXPECT_EQ(NetPcInfoFromAdapter(entry).strMac, c.mac) << c.length;
    }

    // Text fields that fill their array without a terminating zero end with the array.
    memset(entry.Description, 'x', sizeof(entry.Description));
    EXPECT_EQ(NetPcInfoFromAdapter(entry).strDescription, std::wstring(sizeof(entry.Description), L'x'));
}

TEST(MacAddressAdapters, TypeNames) {
    struct {
        UINT type;
        const wchar_t* name;
    } cases[] = {
        {1, L"其它"},  {6, L"以太网"}, {9, L"令牌环"},       {15, L"FDDI"},      {23, L"PPP"},
        {24, L"回路"}, {28, L"Slip"},  {71, L"未知类型 71"}, {0, L"未知类型 0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AdapterTypeName(c.type), c.name) << c.type;
}

TEST(MacAddressAdapters, AddressesListTakesTheFirstSixByteEntry) {
    IP_ADAPTER_ADDRESSES entries[4] = {};
    const BYTE bytes[4][8] = {
        {1, 2, 3, 4, 5, 6, 7, 8}, {9, 9, 9, 9, 9, 9, 9, 9}, {0, 0x50, 0x56, 0, 0, 1}, {7, 7, 7, 7, 7, 7}};
    const ULONG lengths[4] = {8, 0, 6, 6};
    for (int i = 0; i < 4; ++i) {
        memcpy(entries[i].PhysicalAddress, bytes[i], 8);
        entries[i].PhysicalAddressLength = lengths[i];
        entries[i].Next = i < 3 ? &entries[i + 1] : nullptr;
    }
    std::wstring mac = L"unchanged";
    EXPECT_TRUE(MacFromAdapterAddresses(&entries[0], mac));
    EXPECT_EQ(mac, L"00-50-56-00-00-01");  // no filter at all here, a virtual adapter included

    mac = L"unchanged";
    entries[1].Next = nullptr;
    EXPECT_FALSE(MacFromAdapterAddresses(&entries[0], mac));
    EXPECT_EQ(mac, L"unchanged");
    EXPECT_FALSE(MacFromAdapterAddresses(nullptr, mac));
}

// ---- The real thing under Wine -------------------------------------------------------------------------------

TEST(MacAddressLive, ChainGivesAnAddressOfOneOfTheAdapters) {
    std::vector<stNetPcInfo> list;
    GetAdapterInfoList(list);
    if (list.empty()) GTEST_SKIP() << "this machine has no network adapter";
    std::wstring mac = L"stale";
    GetMacAddress(mac);
    EXPECT_TRUE(std::regex_match(mac, std::wregex(L"[0-9A-F]{2}(-[0-9A-F]{2}){5}"))) << testing::PrintToString(mac);
    EXPECT_TRUE(IsMacFound(mac));
    bool known = false;
    for (const stNetPcInfo& info : list)
        known = known || info.strMac == mac;
    EXPECT_TRUE(known) << testing::PrintToString(mac) << " is none of the adapters' addresses";

    // Each way on its own: SNMP finds nothing under Wine; the others, when they find, find a listed adapter.
    std::wstring byWay[3] = {kZeroMac, kZeroMac, kZeroMac};
    GetMacBySnmp(byWay[0]);
    GetMacByNetbios(byWay[1]);
    GetMacByAdapterAddresses(byWay[2]);
    for (const std::wstring& found : byWay) {
        if (!IsMacFound(found)) continue;
        bool listed = false;
        for (const stNetPcInfo& info : list)
            listed = listed || info.strMac == found;
        EXPECT_TRUE(listed) << testing::PrintToString(found);
    }
}
