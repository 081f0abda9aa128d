// One blocking HTTP or HTTPS GET at a time over WinInet; the body comes back as UTF-16 text.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <string>

#include "win/Handle.h"

struct InternetHandleTraits {
    static HINTERNET Invalid() { return nullptr; }
    static bool IsValid(HINTERNET h) { return h != nullptr; }
    static void Close(HINTERNET h) { InternetCloseHandle(h); }
};
using ScopedInternet = ScopedResource<HINTERNET, InternetHandleTraits>;

// Results of CHttpClient::Get.
enum : int {
    kHttpOk = 0,       // the request was sent and the whole body read (whatever the status code)
    kHttpFailed = 1,   // not an http or https address, or the stack failed
    kHttpTimedOut = 2  // the stack gave up waiting
};

// The stack's time-outs. Records go out on the user-interface thread, so a dead or silent server may hold
// it for no longer than these (per connection attempt, per send, per wait for data).
constexpr DWORD kHttpConnectTimeoutMs = 5000;
constexpr DWORD kHttpSendTimeoutMs = 5000;
constexpr DWORD kHttpReceiveTimeoutMs = 5000;

class CHttpClient {
public:
    CHttpClient();
    virtual ~CHttpClient() = default;
    CHttpClient(const CHttpClient&) = delete;
    CHttpClient& operator=(const CHttpClient&) = delete;

    // GETs the full address; response is emptied first and receives the body on success only.
    int Get(const std::wstring& strUrl, std::wstring& strResponse);

private:
    int Fail(DWORD error, DWORD callStart);

    // Declared in this order so that they close in reverse: request, connection, root.
    ScopedInternet m_pInternet;
    ScopedInternet m_pConnection;
    ScopedInternet m_pFile;
};

// The result for a failing stack call: error is its last error, waitedMs how long that call blocked.
int HttpResultFromError(DWORD error, DWORD waitedMs);

// Appends the bytes of one read up to its first zero byte (the rest of that read is dropped).
void AppendUpToZero(std::string& body, const char* data, size_t size);
