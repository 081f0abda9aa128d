#include <gtest/gtest.h>

#include <memory>

#include "TestUtil.h"
#include "app/Process.h"
#include "win/Handle.h"
#include "win/Path.h"
#include "win/Str.h"

// A copy of the probe program under a given file name, started in its own folder and ended at the end.
class ProbeProcess {
public:
    ProbeProcess(const std::wstring& fileName, const std::wstring& args) {
        std::wstring exe = m_dir.File(fileName.c_str());
        if (!CopyFileW((GetModuleFolder() + L"vesk_probe.exe").c_str(), exe.c_str(), FALSE)) return;
        std::wstring cmdLine = L"\"" + exe + L"\" " + args;
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION pi = {};
        if (!CreateProcessW(exe.c_str(), cmdLine.data(), nullptr, nullptr, FALSE, 0, nullptr, m_dir.Path().c_str(),
                            &startup, &pi))
            return;
        CloseHandle(pi.hThread);
        m_process.Reset(pi.hProcess);
    }
    ~ProbeProcess() {
        if (!m_process.IsValid()) return;
        TerminateProcess(m_process, 0);
        WaitForSingleObject(m_process, 5000);
    }
    HANDLE Process() const { return m_process; }

    // Starts it waiting and returns once it runs.
    static bool StartWaiting(std::unique_ptr<ProbeProcess>& probe, const std::wstring& fileName) {
        std::wstring eventName = Format(L"vesk-probe-%lu", GetCurrentProcessId());
        ScopedHandle ready(CreateEventW(nullptr, TRUE, FALSE, eventName.c_str()));
        probe = std::make_unique<ProbeProcess>(fileName, L"wait " + eventName);
        return probe->Process() && WaitForSingleObject(ready, 10000) == WAIT_OBJECT_0;
    }

private:
    TempFolder m_dir;
    ScopedHandle m_process;
};

TEST(IsInstalledCopyRunning, MatchesTheWholeFileNameInAnyCase) {
    struct {
        const wchar_t* fileName;
        int expected;
    } cases[] = {
        {L"veskplay.exe", 1},   {L"VESKPLAY.EXE", 1},    {L"VeskPlay.Exe", 1}, {L"veskplay.exe.bak", 0},
        {L"myveskplay.exe", 0}, {L"veskplay.ex.exe", 0}, {L"1234_abc.exe", 0}, {L"veskplay2.exe", 0},
    };
    ASSERT_EQ(IsInstalledCopyRunning(), 0) << "a copy runs before the test";
    for (const auto& c : cases) {
        std::unique_ptr<ProbeProcess> probe;
        ASSERT_TRUE(ProbeProcess::StartWaiting(probe, c.fileName)) << testing::PrintToString(c.fileName);
        EXPECT_EQ(IsInstalledCopyRunning(), c.expected) << testing::PrintToString(c.fileName);
        EXPECT_EQ(IsProcessRunning(c.fileName), 1) << testing::PrintToString(c.fileName);
    }
    EXPECT_EQ(IsInstalledCopyRunning(), 0);
}

// An installer downloaded as veskplay.exe must still start its installed copy: it does not count itself.
TEST(IsInstalledCopyRunning, ThisProcessDoesNotCount) {
    struct {
        bool otherCopy;
        DWORD expected;
    } cases[] = {{false, 0}, {true, 1}};
    for (const auto& c : cases) {
        std::unique_ptr<ProbeProcess> other;
        if (c.otherCopy) {
            ASSERT_TRUE(ProbeProcess::StartWaiting(other, L"VESKPLAY.EXE"));
        }
        ProbeProcess check(L"veskplay.exe", L"check veskplay.exe");
        ASSERT_TRUE(check.Process());
        ASSERT_EQ(WaitForSingleObject(check.Process(), 10000), WAIT_OBJECT_0);
        DWORD code = 99;
        GetExitCodeProcess(check.Process(), &code);
        EXPECT_EQ(code, c.expected) << "another copy running: " << c.otherCopy;
    }
}
