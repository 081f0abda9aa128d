#include "services/HttpClient.h"

#include <cstring>

#include "win/Str.h"

static const wchar_t kAgent[] = L"Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR 2.0.50727)";
static const wchar_t* const kHeaders[] = {
    L"Accept: *,*/*",
    L"Accept-Language: zh-cn",
    L"Content-Type: application/x-www-form-urlencoded",
};
static const DWORD_PTR kContext = 1;
static const DWORD kReadSize = 1024;
// No answer of the platform comes near this: a server that streams without end must not fill the memory.
static const size_t kMaxBody = 1024 * 1024;

// Every handle gets all three: Wine passes nothing on from the root handle, and without a receive time-out
// it waits for an answer forever.
static void SetTimeouts(HINTERNET handle) {
    DWORD connect = kHttpConnectTimeoutMs, send = kHttpSendTimeoutMs, receive = kHttpReceiveTimeoutMs;
    InternetSetOptionW(handle, INTERNET_OPTION_CONNECT_TIMEOUT, &connect, sizeof(connect));
    InternetSetOptionW(handle, INTERNET_OPTION_SEND_TIMEOUT, &send, sizeof(send));
    InternetSetOptionW(handle, INTERNET_OPTION_RECEIVE_TIMEOUT, &receive, sizeof(receive));
}

CHttpClient::CHttpClient() : m_pInternet(InternetOpenW(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0)) {
    if (m_pInternet.IsValid()) SetTimeouts(m_pInternet);
}

int HttpResultFromError(DWORD error, DWORD waitedMs) {
    if (error == ERROR_INTERNET_TIMEOUT) return kHttpTimedOut;
    // Wine ends a receive time-out with "connection aborted"; one that came only after the whole receive
    // time-out had passed (give or take the tick count's granularity) is that time-out.
    const DWORD kTickSlackMs = 100;
    if (error == ERROR_INTERNET_CONNECTION_ABORTED && waitedMs + kTickSlackMs >= kHttpReceiveTimeoutMs)
        return kHttpTimedOut;
    return kHttpFailed;
}

void AppendUpToZero(std::string& body, const char* data, size_t size) {
    const void* zero = memchr(data, 0, size);
    body.append(data, zero ? static_cast<const char*>(zero) - data : size);
}

int CHttpClient::Fail(DWORD error, DWORD callStart) {
    int result = HttpResultFromError(error, GetTickCount() - callStart);
    m_pFile.Reset();
    m_pConnection.Reset();
    return result;
}

int CHttpClient::Get(const std::wstring& strUrl, std::wstring& strResponse) {
    strResponse.clear();

    // No ICU_DECODE or ICU_ESCAPE: the path and query go out exactly as the caller wrote them.
    URL_COMPONENTSW parts = {};
    parts.dwStructSize = sizeof(parts);
    parts.dwHostNameLength = 1;
    parts.dwUrlPathLength = 1;
    parts.dwExtraInfoLength = 1;
    if (!InternetCrackUrlW(strUrl.c_str(), 0, 0, &parts)) return kHttpFailed;
    bool secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    if (!secure && parts.nScheme != INTERNET_SCHEME_HTTP) return kHttpFailed;
    std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    std::wstring object(parts.lpszUrlPath, parts.dwUrlPathLength);
    object.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    if (object.empty()) object = L"/";

    DWORD start = GetTickCount();
    DWORD connectFlags = INTERNET_FLAG_KEEP_CONNECTION | (secure ? INTERNET_FLAG_SECURE : 0);
    m_pConnection.Reset(InternetConnectW(m_pInternet, host.c_str(), parts.nPort, nullptr, nullptr,
                                         INTERNET_SERVICE_HTTP, connectFlags, kContext));
    if (!m_pConnection.IsValid()) return Fail(GetLastError(), start);
    SetTimeouts(m_pConnection);

    DWORD requestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
    if (secure) requestFlags |= INTERNET_FLAG_SECURE | INTERNET_FLAG_IGNORE_CERT_CN_INVALID;
    m_pFile.Reset(
        HttpOpenRequestW(m_pConnection, L"GET", object.c_str(), nullptr, nullptr, nullptr, requestFlags, kContext));
    if (!m_pFile.IsValid()) return Fail(GetLastError(), start);
    SetTimeouts(m_pFile);

    // ADD_IF_NEW refuses a header the stack has already put there; the stack's one then stays.
    for (const wchar_t* header : kHeaders) {
        HttpAddRequestHeadersW(m_pFile, header, static_cast<DWORD>(-1), HTTP_ADDREQ_FLAG_ADD_IF_NEW);
    }

    start = GetTickCount();
    if (!HttpSendRequestW(m_pFile, nullptr, 0, nullptr, 0)) return Fail(GetLastError(), start);
    // Any status will do, error pages included, but there must have been an answer: Wine reports a connection
    // closed without one as a success with status 0 where Windows fails with "invalid server response".
    DWORD status = 0, size = sizeof(status);
    if (!HttpQueryInfoW(m_pFile, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr) ||
        status == 0)
        return Fail(ERROR_HTTP_INVALID_SERVER_RESPONSE, start);

    std::string body;
    char buffer[kReadSize];
    for (;;) {
        DWORD read = 0;
        start = GetTickCount();
        if (!InternetReadFile(m_pFile, buffer, kReadSize, &read)) return Fail(GetLastError(), start);
        if (read == 0 || body.size() >= kMaxBody) break;
        AppendUpToZero(body, buffer, read);
    }
    strResponse = FromUtf8(body);

    m_pFile.Reset();
    m_pConnection.Reset();
    return kHttpOk;
}
