#include <gtest/gtest.h>

#include "app/StartCommand.h"

TEST(StartCommand, Modes) {
    struct {
        const wchar_t* tail;  // what WinMain gets after the program name
        const wchar_t* value;
        DWORD waitMs;
        bool selfInstall;
        bool hidden;
    } cases[] = {
        {L"", L"", 0, true, false},
        {L"ns", L"ns", 0, false, false},
        {L"  ns  ", L"ns", 0, false, false},
        {L"ns ", L"ns", 0, false, false},  // "ns" plus one blank, as the installer passes an empty value
        {L"-hh", L"-hh", 0, true, true},
        {L"ns 5", L"ns", 5 * 60000, false, false},
        {L"-hh 0", L"-hh", 0, true, true},
        {L"ns abc", L"ns", 0, false, false},
        {L"ns 12abc", L"ns", 12 * 60000, false, false},
        {L"a b c", L"a b c", 0, true, false},
        {L"ns 5 x", L"ns 5 x", 0, true, false},
        {L"NS", L"NS", 0, true, false},
        {L"-HH", L"-HH", 0, true, false},
        {L"NS 1", L"NS", 60000, true, false},
        {L"\"ns\" 2", L"ns", 2 * 60000, false, false},
        {L"/s", L"/s", 0, true, false},
        {L"ns -3", L"ns", 0, false, false},
        {L"ns 1440", L"ns", 1440u * 60000u, false, false},
        {L"ns 100000", L"ns", 1440u * 60000u, false, false},
        {L"ns 99999999999", L"ns", 1440u * 60000u, false, false},
    };
    for (const auto& c : cases) {
        std::wstring commandLine = std::wstring(L"\"C:\\games\\veskplay.exe\" ") + c.tail;
        StartCommand cmd = ParseStartCommand(c.tail, commandLine);
        SCOPED_TRACE(testing::PrintToString(c.tail));
        EXPECT_EQ(cmd.value, c.value);
        EXPECT_EQ(cmd.waitMs, c.waitMs);
        EXPECT_EQ(!SkipsSelfInstall(cmd.value), c.selfInstall);
        EXPECT_EQ(IsHiddenStart(cmd.value), c.hidden);
    }
}

TEST(StartCommand, WaitBounds) {
    EXPECT_EQ(WaitFromMinutes(0), 0u);
    EXPECT_EQ(WaitFromMinutes(-1), 0u);
    EXPECT_EQ(WaitFromMinutes(-2147483647 - 1), 0u);
    EXPECT_EQ(WaitFromMinutes(1), 60000u);
    EXPECT_EQ(WaitFromMinutes(71583), 1440u * 60000u) << "would overflow 32 bits unbounded";
}
