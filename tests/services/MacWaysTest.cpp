#include <gtest/gtest.h>

#include "services/MacAddressRules.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

// ---- SNMP ----------------------------------------------------------------------------------------------------

static UINT kTypeColumn[] = {1, 3, 6, 1, 2, 1, 2, 2, 1, 3};
static UINT kAddressColumn[] = {1, 3, 6, 1, 2, 1, 2, 2, 1, 6};
static UINT kNextColumn[] = {1, 3, 6, 1, 2, 1, 2, 2, 1, 7};

// A binding named column.row with the given value; owns its memory like the agent's answers.
static void SetName(SnmpVarBind& bind, const UINT* column, UINT row) {
    UINT ids[11];
    memcpy(ids, column, 10 * sizeof(UINT));
    ids[10] = row;
    AsnObjectIdentifier name = {11, ids};
    if (bind.name.ids) SnmpUtilOidFree(&bind.name);
    SnmpUtilOidCpy(&bind.name, &name);
}
static void SetInteger(SnmpVarBind& bind, AsnInteger32 value) {
    SnmpUtilAsnAnyFree(&bind.value);
    bind.value.asnType = ASN_INTEGER;
    bind.value.asnValue.number = value;
}
static void SetOctets(SnmpVarBind& bind, const std::string& bytes, bool present = true) {
    SnmpUtilAsnAnyFree(&bind.value);
    bind.value.asnType = ASN_OCTETSTRING;
    AsnOctetString& octets = bind.value.asnValue.string;
    octets.length = static_cast<UINT>(bytes.size());
    octets.dynamic = present;
    octets.stream = present ? static_cast<BYTE*>(SnmpUtilMemAlloc(static_cast<UINT>(bytes.size()) + 1)) : nullptr;
    if (present) memcpy(octets.stream, bytes.data(), bytes.size());
}

struct SnmpRow {
    AsnInteger32 type;
    std::string address;
};

TEST(MacAddressSnmp, AnswersPassedOver) {
    const std::string real("\x00\x1a\x2b\x3c\x4d\x5e", 6);
    struct {
        const char* name;
        const UINT* typeColumn;
        bool typeIsInteger;
        AsnInteger32 type;
        const UINT* addressColumn;
        std::string octets;
        bool present;
        const wchar_t* mac;  // nullptr: passed over
    } cases[] = {
        {"ethernet", kTypeColumn, true, 6, kAddressColumn, real, true, L"00-1A-2B-3C-4D-5E"},
        {"longer octets, first six", kTypeColumn, true, 6, kAddressColumn, real + "\x77\x88", true,
         L"00-1A-2B-3C-4D-5E"},
        {"left the type column", kNextColumn, true, 6, kAddressColumn, real, true, nullptr},
        {"loopback type", kTypeColumn, true, 24, kAddressColumn, real, true, nullptr},
        {"wireless type", kTypeColumn, true, 71, kAddressColumn, real, true, nullptr},
        {"type not an integer", kTypeColumn, false, 6, kAddressColumn, real, true, nullptr},
        {"left the address column", kTypeColumn, true, 6, kNextColumn, real, true, nullptr},
        {"no octet string", kTypeColumn, true, 6, kAddressColumn, real, false, nullptr},
        {"dial-up DEST", kTypeColumn, true, 6, kAddressColumn, std::string("DEST\0\x01", 6), true, nullptr},
        {"DESTX is not dial-up", kTypeColumn, true, 6, kAddressColumn, "DESTX1", true, L"44-45-53-54-58-31"},
        {"all zero", kTypeColumn, true, 6, kAddressColumn, std::string(6, '\0'), true, nullptr},
        {"too short to be an address", kTypeColumn, true, 6, kAddressColumn, "\x01\x02\x03", true, nullptr},
        {"empty", kTypeColumn, true, 6, kAddressColumn, "", true, nullptr},
    };
    for (const auto& c : cases) {
        SnmpVarBind type = {}, address = {};
        SetName(type, c.typeColumn, 1);
        if (c.typeIsInteger) {
            SetInteger(type, c.type);
        } else {
            SetOctets(type, "\x06");
        }
        SetName(address, c.addressColumn, 1);
        SetOctets(address, c.octets, c.present);
        std::wstring mac = L"unchanged";
        EXPECT_EQ(MacFromSnmpAnswer(type, address, mac), c.mac != nullptr) << c.name;
        EXPECT_EQ(mac, c.mac ? c.mac : L"unchanged") << c.name;
        SnmpUtilVarBindFree(&type);
        SnmpUtilVarBindFree(&address);
    }
}

// A fake extension agent over a table of interface rows, answering GET-NEXT as inetmib1 does.
static std::vector<SnmpRow>* g_rows = nullptr;
static AsnInteger32 g_ifCount = 0;
static int g_queries = 0;
static bool g_badRequest = false;

static UINT NextRow(const AsnObjectIdentifier& name) {
    return name.idLength > 10 ? name.ids[10] + 1 : 1;
}

static BOOL SNMP_FUNC_TYPE FakeQuery(BYTE pdu, SnmpVarBindList* list, AsnInteger32* status, AsnInteger32* index) {
    ++g_queries;
    *status = *index = 0;
    if (pdu != SNMP_PDU_GETNEXT) g_badRequest = true;
    if (list->len == 1) {
        UINT ids[] = {1, 3, 6, 1, 2, 1, 2, 1, 0};
        AsnObjectIdentifier name = {9, ids};
        if (list->list[0].name.ids) SnmpUtilOidFree(&list->list[0].name);
        SnmpUtilOidCpy(&list->list[0].name, &name);
        SetInteger(list->list[0], g_ifCount);
        return TRUE;
    }
    if (list->len != 2 || list->list[0].value.asnType != ASN_NULL || list->list[1].value.asnType != ASN_NULL)
        g_badRequest = true;
    SnmpVarBind& type = list->list[0];
    SnmpVarBind& address = list->list[1];
    UINT row = NextRow(type.name);
    if (row > g_rows->size()) {  // past the table: on to the next column
        SetName(type, kNextColumn, 1);
        SetInteger(type, 1500);
        SetName(address, kNextColumn, 1);
        SetInteger(address, 1500);
        return TRUE;
    }
    SetName(type, kTypeColumn, row);
    SetInteger(type, (*g_rows)[row - 1].type);
    SetName(address, kAddressColumn, row);
    SetOctets(address, (*g_rows)[row - 1].address);
    return TRUE;
}

TEST(MacAddressSnmp, WalkTakesTheFirstRealEthernetAddress) {
    const std::string real("\x00\x1a\x2b\x3c\x4d\x5e", 6), other("\x02\x00\x00\x00\x00\x07", 6);
    struct {
        const char* name;
        AsnInteger32 count;
        std::vector<SnmpRow> rows;
        const wchar_t* mac;
        int queries;
    } cases[] = {
        {"loopback, dial-up and zero rows passed over",
         4,
         {{24, ""}, {6, std::string("DEST\0\0", 6)}, {6, std::string(6, '\0')}, {6, real}},
         L"00-1A-2B-3C-4D-5E",
         5},
        {"stops at the first", 2, {{6, real}, {6, other}}, L"00-1A-2B-3C-4D-5E", 2},
        {"no interfaces: no second stage", 0, {{6, real}}, L"unchanged", 1},
        {"at most N requests", 1, {{24, ""}, {6, real}}, L"unchanged", 2},
        {"past the column until N", 3, {{24, ""}}, L"unchanged", 4},
    };
    for (auto& c : cases) {
        g_rows = &c.rows;
        g_ifCount = c.count;
        g_queries = 0;
        g_badRequest = false;
        std::wstring mac = L"unchanged";
        WalkSnmpInterfaces(FakeQuery, mac);
        EXPECT_EQ(mac, c.mac) << c.name;
        EXPECT_EQ(g_queries, c.queries) << c.name;
        EXPECT_FALSE(g_badRequest) << c.name;
    }
    g_rows = nullptr;
}

// ---- NetBIOS -------------------------------------------------------------------------------------------------

struct FakeNetbiosState {
    UCHAR enumResult;
    std::vector<UCHAR> lanas;
    UCHAR resetResult;
    UCHAR statusResult;
    std::string address;
    std::string commands;
    bool badRequest;
};
static FakeNetbiosState* g_netbios = nullptr;

static UCHAR WINAPI FakeNetbiosCall(PNCB ncb) {
    FakeNetbiosState& s = *g_netbios;
    char code[8];
    snprintf(code, sizeof(code), "%s%02X", s.commands.empty() ? "" : " ", ncb->ncb_command);
    s.commands += code;
    switch (ncb->ncb_command) {
        case NCBENUM: {
            if (ncb->ncb_length < sizeof(LANA_ENUM)) s.badRequest = true;
            auto* lanas = reinterpret_cast<LANA_ENUM*>(ncb->ncb_buffer);
            lanas->length = static_cast<UCHAR>(s.lanas.size());
            for (size_t i = 0; i < s.lanas.size(); ++i)
                lanas->lana[i] = s.lanas[i];
            return s.enumResult;
        }
        case NCBRESET:
            if (ncb->ncb_lana_num != s.lanas[0]) s.badRequest = true;
            return s.resetResult;
        case NCBASTAT: {
            static const UCHAR kStar[NCBNAMSZ] = {'*'};
            if (ncb->ncb_lana_num != s.lanas[0] || ncb->ncb_length != 600 ||
                memcmp(ncb->ncb_callname, kStar, NCBNAMSZ) != 0)
                s.badRequest = true;
            memcpy(ncb->ncb_buffer, s.address.data(), 6);
            return s.statusResult;
        }
    }
    s.badRequest = true;
    return NRC_ILLCMD;
}

TEST(MacAddressNetbios, LanaRuleAndAdapterStatus) {
    const std::string card("\x02\xfc\x00\x00\x00\x01", 6), zero(6, '\0');
    struct {
        const char* name;
        FakeNetbiosState state;
        const wchar_t* mac;
        const char* commands;
    } cases[] = {
        {"enumeration fails", {NRC_SYSTEM, {3}, 0, 0, card}, L"unchanged", "37"},
        {"two lanas: empty", {0, {0, 3}, 0, 0, card}, L"", "37"},
        {"no lana", {0, {}, 0, 0, card}, L"unchanged", "37"},
        {"reset fails", {0, {3}, NRC_BRIDGE, 0, card}, L"unchanged", "37 32"},
        {"status fails", {0, {3}, 0, NRC_BRIDGE, card}, L"unchanged", "37 32 33"},
        {"one lana", {0, {3}, 0, 0, card}, L"02-FC-00-00-00-01", "37 32 33"},
        {"zero address is written", {0, {7}, 0, 0, zero}, L"00-00-00-00-00-00", "37 32 33"},
    };
    for (auto& c : cases) {
        g_netbios = &c.state;
        std::wstring mac = L"unchanged";
        QueryNetbiosMac(FakeNetbiosCall, mac);
        EXPECT_EQ(mac, c.mac) << c.name;
        EXPECT_EQ(c.state.commands, c.commands) << c.name;
        EXPECT_FALSE(c.state.badRequest) << c.name;
    }
    g_netbios = nullptr;
}
