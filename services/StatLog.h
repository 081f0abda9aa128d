// Signed statistics records: one line of ten fields, its MD5 signature, one GET to the statistics server.
#pragma once

#include <cstdint>
#include <string>

// Builds, signs and sends one record; blocks the calling thread for the request. Nothing comes back.
void SendStatLog(std::wstring strUid, std::wstring strProduct, std::wstring strEvent);

// MD5 of the text's ANSI bytes as 32 lower-case hexadecimal digits; empty if the system cannot hash.
std::wstring Md5Hex(const std::wstring& text);

// The pieces of SendStatLog, for the tests.
std::wstring StripZcPrefix(const std::wstring& uid);
std::wstring FormatStatRecord(const std::wstring& product,
                              const std::wstring& uid,
                              const std::wstring& event,
                              const std::wstring& mac,
                              int64_t time);
std::wstring StatLogAddress(const std::wstring& record);  // base address, record, "|" and signature
