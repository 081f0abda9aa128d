// The machine's identity for the statistics records: the hardware address of one network adapter, written as
// hexadecimal pairs joined by "-", found by the first of four ways of asking the system that gives one.
#pragma once

#include <string>
#include <vector>

// One adapter of the adapter-information list.
struct stNetPcInfo {
    std::wstring strIp;
    std::wstring strMac;
    std::wstring strMask;
    std::wstring strGateway;
    std::wstring strDescription;
    std::wstring strIndex;
    std::wstring strName;
    std::wstring strType;
};

// Fills strMac with the address text, upper case; "00-00-00-00-00-00" when no way finds one (or, after
// NetBIOS saw several LANAs and nothing later found one, the empty string).
void GetMacAddress(std::wstring& strMac);

// The four ways. Each writes strMac only when it finds an address; NetBIOS also empties it when the machine
// has more than one LANA.
void GetMacBySnmp(std::wstring& strMac);
void GetMacByNetbios(std::wstring& strMac);
void GetAdapterInfoList(std::vector<stNetPcInfo>& list);
void GetMacByAdapterAddresses(std::wstring& strMac);
