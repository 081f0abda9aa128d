#include <gtest/gtest.h>

#include <windows.h>

#include "win/Str.h"

TEST(Str, FormatTakesWideStringsAndNumbers) {
    EXPECT_EQ(Format(L"%s=%d", L"hotkey", 121), L"hotkey=121");
    EXPECT_EQ(Format(L"%ld|%s", -1L, L"中文"), L"-1|中文");
    EXPECT_EQ(Format(L""), L"");
    std::wstring longText(5000, L'x');
    EXPECT_EQ(Format(L"[%s]", longText.c_str()), L"[" + longText + L"]");
}

TEST(Str, AnsiUsesTheChineseCodePage) {
    // The test prefix runs with code page 936, as a player's Chinese Windows does.
    ASSERT_EQ(GetACP(), 936u);
    EXPECT_EQ(ToAnsi(L"中文"), "\xD6\xD0\xCE\xC4");
    EXPECT_EQ(FromAnsi("\xD6\xD0\xCE\xC4"), L"中文");
    EXPECT_EQ(FromAnsi(ToAnsi(L"ascii 123")), L"ascii 123");
    EXPECT_EQ(ToAnsi(L""), "");
}

TEST(Str, Utf8RoundTripsAndKeepsEmbeddedZeros) {
    EXPECT_EQ(ToUtf8(L"你好"), "\xE4\xBD\xA0\xE5\xA5\xBD");
    EXPECT_EQ(FromUtf8("\xE4\xBD\xA0\xE5\xA5\xBD"), L"你好");
    EXPECT_EQ(FromUtf8(std::string("a\0b", 3)), std::wstring(L"a\0b", 3));
    std::wstring emoji = L"\xD83D\xDE00";
    EXPECT_EQ(FromUtf8(ToUtf8(emoji)), emoji);
    // A broken sequence is replaced, not dropped with what follows it.
    EXPECT_EQ(FromUtf8("a\xFF"
                       "b"),
              L"a\xFFFD"
              L"b");
}

TEST(Str, Trim) {
    struct {
        const wchar_t* in;
        const wchar_t* out;
    } cases[] = {
        {L"", L""}, {L"   ", L""}, {L" ns ", L"ns"}, {L"\tns\r\n", L"ns"}, {L"a b", L"a b"}, {L"  a  b ", L"a  b"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Trim(c.in), c.out) << "input [" << testing::PrintToString(c.in) << "]";
}

TEST(Str, ParseIntFollowsTheRuntimeRule) {
    struct {
        const wchar_t* in;
        int out;
    } cases[] = {
        {L"", 0},
        {L"121", 121},
        {L"  42", 42},
        {L"-7", -7},
        {L"+8", 8},
        {L"12abc", 12},
        {L"abc", 0},
        {L"0x10", 0},
        {L"393337", 393337},
        {L"- 5", 0},
        {L"2147483647", 2147483647},
        {L"99999999999", 2147483647},
        {L"-99999999999", -2147483647 - 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseInt(c.in), c.out) << "input [" << testing::PrintToString(c.in) << "]";
}

TEST(Str, EqualsNoCase) {
    EXPECT_TRUE(EqualsNoCase(L"WD_JAPI", L"wd_japi"));
    EXPECT_TRUE(EqualsNoCase(L"", L""));
    EXPECT_FALSE(EqualsNoCase(L"WD_JAPI", L"WD_JAP"));
    EXPECT_FALSE(EqualsNoCase(L"a", L"b"));
}
