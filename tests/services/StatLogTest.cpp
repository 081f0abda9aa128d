#include <gtest/gtest.h>

#include <windows.h>

#include <ctime>
#include <regex>

#include "MockPlatform.h"
#include "services/Hosts.h"
#include "services/StatLog.h"
#include "win/Str.h"

TEST(Md5Hex, Rfc1321TestSuite) {
    struct {
        const wchar_t* text;
        const wchar_t* digest;
    } cases[] = {
        {L"", L"d41d8cd98f00b204e9800998ecf8427e"},
        {L"a", L"0cc175b9c0f1b6a831c399e269772661"},
        {L"abc", L"900150983cd24fb0d6963f7d28e17f72"},
        {L"message digest", L"f96b697d7cb7938d525a2f31aaf161d0"},
        {L"abcdefghijklmnopqrstuvwxyz", L"c3fcd3d76192e4007dfb496cca67e13b"},
        {L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", L"d174ab98d277d9f5a5611c2c9f419d9f"},
        {L"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         L"57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Md5Hex(c.text), c.digest) << testing::PrintToString(c.text);
}

TEST(Md5Hex, HashesTheAnsiBytesOfTheText) {
    ASSERT_EQ(GetACP(), 936u);
    // md5 of the code page 936 bytes D6 D0 CE C4, not of the UTF-8 or UTF-16 form.
    EXPECT_EQ(Md5Hex(L"中文"), L"bcce109775e8e1972e9f5fcda3e12895");
}

TEST(StatLog, ZcPrefixRule) {
    struct {
        const wchar_t* uid;
        const wchar_t* sent;
    } cases[] = {
        {L"zc10001", L"10001"},
        {L"Zc10001", L"Zc10001"},
        {L"ZC10001", L"ZC10001"},
        {L"zC10001", L"zC10001"},
        {L"zc", L""},
        {L"z", L"z"},
        {L"", L""},
        {L"10001zc", L"10001zc"},
        {L"zczc1", L"zc1"},
        {L" zc1", L" zc1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StripZcPrefix(c.uid), c.sent) << testing::PrintToString(c.uid);
}

TEST(StatLog, RecordAndAddressOfTheExample) {
    std::wstring record = FormatStatRecord(L"vesk", L"10001", L"4", L"00-1A-2B-3C-4D-5E", 1500000000);
    EXPECT_EQ(record, L"vesk|10001|4|159372|||||00-1A-2B-3C-4D-5E|1500000000");
    // md5("vesk|10001|4|159372|||||00-1A-2B-3C-4D-5E|1500000000" "Rq7#vLb2Wd9k"), computed independently.
    EXPECT_EQ(StatLogAddress(record),
              std::wstring(kStatHost) + L"/receive/micoclient?log=" + record + L"|42b9cc2bd42b89a1bf43ae77de12f6ab");
}

TEST(StatLog, AMachineWithoutAnAddressSendsTheZeroAddress) {
    EXPECT_EQ(FormatStatRecord(L"vesk", L"1", L"4", L"", 7), L"vesk|1|4|159372|||||00-00-00-00-00-00|7");
}

TEST(StatLog, TimeIsTheLow32BitsSigned) {
    struct {
        int64_t time;
        const wchar_t* text;
    } cases[] = {
        {0, L"0"},
        {1500000000, L"1500000000"},
        {2147483647, L"2147483647"},
        {2147483648LL, L"-2147483648"},
        {4294967296LL + 5, L"5"},
    };
    for (const auto& c : cases) {
        std::wstring record = FormatStatRecord(L"vesk", L"1", L"2", L"AA", c.time);
        EXPECT_EQ(record, std::wstring(L"vesk|1|2|159372|||||AA|") + c.text) << c.time;
    }
}

TEST(StatLog, EveryFieldChangesTheSignature) {
    std::wregex hex(L"[0-9a-f]{32}");
    auto signature = [](const std::wstring& record) {
        std::wstring address = StatLogAddress(record);
        return address.substr(address.rfind(L'|') + 1);
    };
    std::wstring base = FormatStatRecord(L"vesk", L"10001", L"4", L"00-1A-2B-3C-4D-5E", 1500000000);
    std::wstring variants[] = {
        FormatStatRecord(L"vesl", L"10001", L"4", L"00-1A-2B-3C-4D-5E", 1500000000),
        FormatStatRecord(L"vesk", L"10002", L"4", L"00-1A-2B-3C-4D-5E", 1500000000),
        FormatStatRecord(L"vesk", L"10001", L"3", L"00-1A-2B-3C-4D-5E", 1500000000),
        FormatStatRecord(L"vesk", L"10001", L"4", L"00-1A-2B-3C-4D-5F", 1500000000),
        FormatStatRecord(L"vesk", L"10001", L"4", L"00-1A-2B-3C-4D-5E", 1500000001),
    };
    EXPECT_TRUE(std::regex_match(signature(base), hex));
    for (const auto& v : variants) {
        EXPECT_TRUE(std::regex_match(signature(v), hex)) << testing::PrintToString(v);
        EXPECT_NE(signature(v), signature(base)) << testing::PrintToString(v);
    }
}

// The logged statistics request whose record has uid as its second field; empty when there is none.
static std::string FindStatLine(const MockPlatform& mock, const std::string& uid) {
    for (const std::string& line : mock.LogLines()) {
        std::string record = JsonString(line, "record");
        size_t first = record.find('|');
        if (first != std::string::npos && record.compare(first + 1, uid.size() + 1, uid + "|") == 0) return line;
    }
    return {};
}

static std::vector<std::string> SplitBars(const std::string& text) {
    std::vector<std::string> fields(1);
    for (char c : text) {
        if (c == '|') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

TEST(StatLogLive, RecordsReachTheMockPlatformSigned) {
    MockPlatform mock;
    if (!mock.Available()) GTEST_SKIP() << "VESK_MOCK_PORT and VESK_MOCK_LOG are not set";
    ASSERT_EQ(mock.Port(), VESK_MOCK_PORT) << "the build's mock port differs from the running mock platform's";
    std::wstring tag = Format(L"%lu%lu", GetCurrentProcessId(), GetTickCount());
    struct {
        std::wstring uid;
        const wchar_t* event;
        std::wstring sent;
    } cases[] = {
        {L"zc" + tag, L"4", tag},
        {L"Zc" + tag, L"1", L"Zc" + tag},
        {L"玩家" + tag, L"2", L"玩家" + tag},  // signed over code page 936 bytes
    };
    std::regex mac("[0-9A-F]{2}(-[0-9A-F]{2}){5}");
    for (const auto& c : cases) {
        long long before = _time64(nullptr);
        SendStatLog(c.uid, L"vesk", c.event);
        long long after = _time64(nullptr);

        std::string line = FindStatLine(mock, ToUtf8(c.sent));
        ASSERT_FALSE(line.empty()) << "no record for " << testing::PrintToString(c.uid);
        EXPECT_TRUE(JsonTrue(line, "valid")) << line;
        EXPECT_TRUE(JsonTrue(line, "well_formed")) << line;
        EXPECT_EQ(JsonString(line, "path"), "/receive/micoclient") << line;
        EXPECT_EQ(JsonString(line, "raw_path").find('%'), std::string::npos) << "percent-encoded: " << line;

        std::vector<std::string> fields = SplitBars(JsonString(line, "record"));
        ASSERT_EQ(fields.size(), 10u) << line;
        EXPECT_EQ(fields[0], "vesk");
        EXPECT_EQ(fields[2], ToUtf8(c.event));
        EXPECT_EQ(fields[3], "159372");
        EXPECT_TRUE(std::regex_match(fields[8], mac)) << fields[8];
        long long sentTime = std::atoll(fields[9].c_str());
        EXPECT_GE(sentTime, before - 2) << line;
        EXPECT_LE(sentTime, after + 2) << line;
    }
}
