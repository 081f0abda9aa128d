#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include "MockPlatform.h"
#include "services/HttpClient.h"
#include "win/Str.h"

TEST(HttpResult, MapsStackErrorsToResultCodes) {
    struct {
        DWORD error;
        DWORD waitedMs;
        int result;
    } cases[] = {
        {ERROR_INTERNET_TIMEOUT, 0, kHttpTimedOut},
        {ERROR_INTERNET_TIMEOUT, kHttpReceiveTimeoutMs, kHttpTimedOut},
        // Wine's receive time-out arrives as "connection aborted" after the whole wait; a quick abort is not one.
        {ERROR_INTERNET_CONNECTION_ABORTED, kHttpReceiveTimeoutMs, kHttpTimedOut},
        {ERROR_INTERNET_CONNECTION_ABORTED, kHttpReceiveTimeoutMs + 500, kHttpTimedOut},
        {ERROR_INTERNET_CONNECTION_ABORTED, kHttpReceiveTimeoutMs - 50, kHttpTimedOut},  // tick granularity
        {ERROR_INTERNET_CONNECTION_ABORTED, kHttpReceiveTimeoutMs - 500, kHttpFailed},
        {ERROR_INTERNET_CONNECTION_ABORTED, 3, kHttpFailed},
        {ERROR_INTERNET_CANNOT_CONNECT, 0, kHttpFailed},
        {ERROR_INTERNET_CANNOT_CONNECT, 60000, kHttpFailed},
        {ERROR_INTERNET_NAME_NOT_RESOLVED, 0, kHttpFailed},
        {ERROR_INTERNET_CONNECTION_RESET, 60000, kHttpFailed},
        {ERROR_HTTP_INVALID_SERVER_RESPONSE, 0, kHttpFailed},
        {ERROR_INTERNET_SEC_CERT_DATE_INVALID, 0, kHttpFailed},
        {ERROR_INVALID_HANDLE, 0, kHttpFailed},
        {ERROR_SUCCESS, 0, kHttpFailed},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HttpResultFromError(c.error, c.waitedMs), c.result) << "error " << c.error << " after " << c.waitedMs;
    }
}

TEST(HttpBody, KeepsEachReadUpToItsFirstZeroByte) {
    struct {
        const char* name;
        std::string read;
        std::string appended;
    } cases[] = {
        {"no zero", "hello", "hello"},
        {"zero in the middle", std::string("abc\0def", 7), "abc"},
        {"zero first", std::string("\0abc", 4), ""},
        {"zero last", std::string("abc\0", 4), "abc"},
        {"two zeros", std::string("a\0b\0c", 5), "a"},
        {"empty read", "", ""},
    };
    for (const auto& c : cases) {
        std::string body = "before|";
        AppendUpToZero(body, c.read.data(), c.read.size());
        EXPECT_EQ(body, "before|" + c.appended) << c.name;
    }
}

// The body "abc...zabc..." of /__test/bytes?len=N.
static std::wstring Letters(size_t count) {
    std::wstring text;
    for (size_t i = 0; i < count; ++i)
        text += static_cast<wchar_t>(L'a' + i % 26);
    return text;
}

TEST(HttpClientLive, BodiesOfOneClientInARow) {
    MockPlatform mock;
    if (!mock.Available()) GTEST_SKIP() << "VESK_MOCK_PORT and VESK_MOCK_LOG are not set";
    struct {
        const wchar_t* path;
        std::wstring body;
        bool whole;  // the body must equal the text, not just contain it
    } cases[] = {
        {L"/__test/hello", L"hello", true},
        {L"/__test/chinese", L"你好，世界", true},
        {L"/__test/notfound", L"404 Not Found", false},  // an error page is a successful request
        {L"/__test/status?code=500", L"status 500", false},
        {L"/__test/zero", L"abc", true},                   // the rest of a read after a zero byte is dropped
        {L"/__test/bytes?len=3000", Letters(3000), true},  // several reads
        {L"/__test/echo-query?log=a|b^c{d}[e]`f<g>\"h\"", L"log=a|b^c{d}[e]`f<g>\"h\"", true},  // sent as written
    };
    CHttpClient client;
    for (const auto& c : cases) {
        std::wstring response = L"stale";
        EXPECT_EQ(client.Get(mock.Url(c.path), response), kHttpOk) << testing::PrintToString(c.path);
        if (c.whole) {
            EXPECT_EQ(response, c.body) << testing::PrintToString(c.path);
        } else {
            EXPECT_NE(response.find(c.body), std::wstring::npos) << testing::PrintToString(c.path);
        }
    }
}

TEST(HttpClientLive, AnEndlessBodyIsCutAtOneMegabyte) {
    MockPlatform mock;
    if (!mock.Available()) GTEST_SKIP() << "VESK_MOCK_PORT and VESK_MOCK_LOG are not set";
    CHttpClient client;
    std::wstring response;
    EXPECT_EQ(client.Get(mock.Url(L"/__test/bytes?len=3000000"), response), kHttpOk);
    EXPECT_GE(response.size(), 1024u * 1024u);
    EXPECT_LT(response.size(), 1024u * 1024u + 1024u);
    EXPECT_EQ(response.substr(0, 30), Letters(30));
    EXPECT_EQ(client.Get(mock.Url(L"/__test/hello"), response), kHttpOk);
    EXPECT_EQ(response, L"hello");
}

// Index of the line "name: value" in the echoed headers, -1 when it is not there.
static int HeaderIndex(const std::wstring& echo, const std::wstring& line) {
    int index = 0;
    for (size_t pos = 0; pos < echo.size(); ++index) {
        size_t end = echo.find(L'\n', pos);
        if (end == std::wstring::npos) end = echo.size();
        if (echo.compare(pos, end - pos, line) == 0) return index;
        pos = end + 1;
    }
    return -1;
}

TEST(HttpClientLive, SendsTheAgentAndTheThreeHeadersInOrder) {
    MockPlatform mock;
    if (!mock.Available()) GTEST_SKIP() << "VESK_MOCK_PORT and VESK_MOCK_LOG are not set";
    CHttpClient client;
    std::wstring echo;
    ASSERT_EQ(client.Get(mock.Url(L"/__test/echo-headers"), echo), kHttpOk);
    EXPECT_GE(HeaderIndex(echo,
                          L"User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR "
                          L"2.0.50727)"),
              0)
        << testing::PrintToString(echo);
    int accept = HeaderIndex(echo, L"Accept: *,*/*");
    int language = HeaderIndex(echo, L"Accept-Language: zh-cn");
    int type = HeaderIndex(echo, L"Content-Type: application/x-www-form-urlencoded");
    EXPECT_GE(accept, 0) << testing::PrintToString(echo);
    EXPECT_GT(language, accept) << testing::PrintToString(echo);
    EXPECT_GT(type, language) << testing::PrintToString(echo);
}

// A loopback port on which nothing listens: bound once by us, then released.
static int ClosedPort() {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return 0;
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof(address);
    int port = 0;
    if (bind(s, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) == 0)
        port = ntohs(address.sin_port);
    closesocket(s);
    WSACleanup();
    return port;
}

TEST(HttpClientLive, FailuresLeaveTheClientReadyForTheNextRequest) {
    MockPlatform mock;
    if (!mock.Available()) GTEST_SKIP() << "VESK_MOCK_PORT and VESK_MOCK_LOG are not set";
    int closedPort = ClosedPort();
    ASSERT_NE(closedPort, 0);
    std::wstring marker = Format(L"no-request-%lu-%lu", GetCurrentProcessId(), GetTickCount());
    struct {
        std::wstring url;
        int result;
    } cases[] = {
        {Format(L"ftp://127.0.0.1:%d/__test/%s", mock.Port(), marker.c_str()), kHttpFailed},
        {L"file:///C:/windows/win.ini", kHttpFailed},
        {L"not an address " + marker, kHttpFailed},
        {Format(L"http://127.0.0.1:%d/__test/hello", closedPort), kHttpFailed},
        {mock.Url(L"/__drop"), kHttpFailed},
        {mock.Url(L"/__drop?rst=1"), kHttpFailed},
        {mock.Url(L"/__silent"), kHttpTimedOut},
    };
    CHttpClient client;
    for (const auto& c : cases) {
        std::wstring response = L"stale";
        DWORD start = GetTickCount();
        EXPECT_EQ(client.Get(c.url, response), c.result) << testing::PrintToString(c.url);
        DWORD waited = GetTickCount() - start;
        EXPECT_EQ(response, L"") << testing::PrintToString(c.url);
        // The bound a caller can count on: the receive time-out plus a margin for a loaded machine.
        EXPECT_LT(waited, kHttpReceiveTimeoutMs + 3000) << testing::PrintToString(c.url);
        EXPECT_EQ(client.Get(mock.Url(L"/__test/hello"), response), kHttpOk)
            << "after " << testing::PrintToString(c.url);
        EXPECT_EQ(response, L"hello") << "after " << testing::PrintToString(c.url);
    }
    std::string marker8 = ToUtf8(marker);
    for (const std::string& line : mock.LogLines())
        EXPECT_EQ(line.find(marker8), std::string::npos) << line;
}
