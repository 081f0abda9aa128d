// What the ways of finding the machine's address decide, separated from the system calls so that the tests can
// feed them crafted answers.
#pragma once

#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
#include <nb30.h>
#include <snmp.h>

#include <string>
#include <vector>

#include "services/MacAddress.h"

extern const wchar_t kZeroMac[];  // "00-00-00-00-00-00"

// Nothing is found while the text is empty or the zero address.
bool IsMacFound(const std::wstring& mac);

// The bytes as upper-case hexadecimal pairs joined by "-"; empty for no bytes.
std::wstring FormatMacPairs(const BYTE* bytes, size_t count);

// The order of the ways, over a set of them (the system's in GetMacAddress, fakes in the tests).
struct MacMethods {
    bool (*startSockets)();
    void (*snmp)(std::wstring& mac);
    void (*netbios)(std::wstring& mac);
    void (*adapterList)(std::vector<stNetPcInfo>& list);
    void (*adapterAddresses)(std::wstring& mac);
};
std::wstring FindMacAddress(const MacMethods& methods);

// SNMP: one answer of the interface-table walk, the interface type and the physical address of the same row.
// Gives the address text when the row is an Ethernet interface with a real address.
bool MacFromSnmpAnswer(const SnmpVarBind& type, const SnmpVarBind& address, std::wstring& mac);
// The walk itself over an extension agent's query function.
void WalkSnmpInterfaces(PFNSNMPEXTENSIONQUERY query, std::wstring& mac);

// NetBIOS over a Netbios function: enumerate, reset and ask the one LANA for its adapter status.
using NetbiosFunc = UCHAR(WINAPI*)(PNCB ncb);
void QueryNetbiosMac(NetbiosFunc netbios, std::wstring& mac);

// Adapter-information list: the record of one entry, its type's name, and the entry the address comes from.
stNetPcInfo NetPcInfoFromAdapter(const IP_ADAPTER_INFO& adapter);
std::wstring AdapterTypeName(UINT type);
const stNetPcInfo* PickAdapterInfo(const std::vector<stNetPcInfo>& list);

// Adapter-addresses list: the first entry with a six-byte physical address.
bool MacFromAdapterAddresses(const IP_ADAPTER_ADDRESSES* first, std::wstring& mac);
