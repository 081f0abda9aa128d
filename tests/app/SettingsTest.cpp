#include <gtest/gtest.h>

#include <shlobj.h>

#include "TestUtil.h"
#include "app/Settings.h"
#include "win/Path.h"

TEST(SplitInstallerName, Cases) {
    struct {
        const wchar_t* name;
        const wchar_t* uid;
        const wchar_t* channel;
    } cases[] = {
        {L"12345_abc.exe", L"12345", L"abc"},
        {L"12345.exe", L"12345", L""},
        {L"a_b_c.exe", L"a", L"b_c"},
        {L"a.b_c.exe", L"a.b", L"c"},
        {L"noext", L"noext", L""},
        {L"_x.exe", L"", L"x"},
        {L"10001_web.exe", L"10001", L"web"},
        {L"x_", L"x", L""},
    };
    for (const auto& c : cases) {
        std::wstring name = c.name, uid = L"stale";
        SplitInstallerName(name, uid);
        EXPECT_EQ(uid, c.uid) << testing::PrintToString(c.name);
        EXPECT_EQ(name, c.channel) << testing::PrintToString(c.name);
    }
}

class SettingsFile : public testing::Test {
protected:
    TempFolder m_dir;
    std::wstring m_ini = m_dir.File(L"static.ini");

    void Write(const std::string& text) { ASSERT_TRUE(WriteFileBytes(m_ini, text)); }
    std::string Read() { return ReadFileBytes(m_ini); }
};

TEST_F(SettingsFile, EmptyPathTouchesNothing) {
    EXPECT_EQ(GetIniString(L"", L"hotkey", L"121"), L"");
    EXPECT_EQ(GetIniInt(L"", L"start", -1), -1);
    SetIniInt(L"", L"start", 1);  // must not write win.ini or anything else
    EXPECT_EQ(GetIniString(m_ini, L"start", L"missing"), L"missing");
}

TEST_F(SettingsFile, ReadsAndWritesSectionVeskInTheAnsiCodePage) {
    SetIniString(m_ini, L"hotName", L"老板键");
    SetIniInt(m_ini, L"hotkey", 393337);
    EXPECT_EQ(Read(), "[vesk]\r\nhotName=\xC0\xCF\xB0\xE5\xBC\xFC\r\nhotkey=393337\r\n");
    EXPECT_EQ(GetIniString(m_ini, L"hotName", L""), L"老板键");
    EXPECT_EQ(GetIniInt(m_ini, L"hotkey", 0), 393337);
    SetIniInt(m_ini, L"hotkey", -1);  // replaced in place
    EXPECT_EQ(Read(), "[vesk]\r\nhotName=\xC0\xCF\xB0\xE5\xBC\xFC\r\nhotkey=-1\r\n");
}

TEST_F(SettingsFile, FirstRunSplitsTheInstallerName) {
    Write("[vesk]\r\nkey=\r\nuid=\r\nstart=0\r\nhotkey=121\r\nhotName=F10\r\nfilename=12345_abc.exe\r\ninner=1\r\n");
    CLauncherSettings s;
    s.m_strIniPath = m_ini;
    s.LoadSettings();
    EXPECT_EQ(s.m_strUid, L"12345");
    EXPECT_EQ(s.m_strSuid, L"abc");
    EXPECT_EQ(s.m_nHotKey, 121);
    EXPECT_EQ(s.m_strHotName, L"F10");
    EXPECT_EQ(s.m_nCloseType, 0);
    EXPECT_EQ(Read(),
              "[vesk]\r\nkey=\r\nuid=12345\r\nstart=1\r\nhotkey=121\r\nhotName=F10\r\nfilename=abc\r\ninner=1\r\n");

    // A later start reads the stored values as they are.
    WritePrivateProfileStringW(L"vesk", L"filename", L"other_name.exe", m_ini.c_str());
    CLauncherSettings later;
    later.m_strIniPath = m_ini;
    later.LoadSettings();
    EXPECT_EQ(later.m_strUid, L"12345");
    EXPECT_EQ(later.m_strSuid, L"other_name.exe");
}

TEST_F(SettingsFile, FirstRunWithoutFilename) {
    Write("[vesk]\r\nstart=0\r\n");
    CLauncherSettings s;
    s.m_strIniPath = m_ini;
    s.LoadSettings();
    EXPECT_EQ(s.m_strUid, L"");
    EXPECT_EQ(s.m_strSuid, L"");
    EXPECT_EQ(s.m_nHotKey, 121) << "missing hotkey reads as F10";
    EXPECT_EQ(s.m_strHotName, L"F10");
    EXPECT_EQ(Read(), "[vesk]\r\nstart=1\r\nfilename=\r\nuid=\r\n");
}

TEST_F(SettingsFile, EmptyHotkeyIsNoneAndIsWrittenBackAsMinusOne) {
    Write("[vesk]\r\nstart=1\r\nhotkey=\r\nhotName=\r\nCloseType=1\r\nAutoStart=1\r\n");
    CLauncherSettings s;
    s.m_strIniPath = m_ini;
    s.LoadSettings();
    EXPECT_EQ(s.m_nHotKey, -1);
    EXPECT_EQ(s.m_nCloseType, 1);
    EXPECT_EQ(s.m_nAutoStart, 1);
    s.SaveSettings();
    EXPECT_EQ(GetIniString(m_ini, L"hotkey", L"x"), L"-1");
    EXPECT_EQ(GetIniString(m_ini, L"CloseType", L"x"), L"1");
}

TEST_F(SettingsFile, SaveWritesPreferencesAndBossKey) {
    CLauncherSettings s;
    s.m_strIniPath = m_ini;
    s.m_nCloseType = 2;
    s.m_nAutoStart = 1;
    s.m_nHotKey = 'Q' + 6 * 65536;  // Ctrl+Alt+Q
    s.m_strHotName = L"Ctrl + Alt + Q";
    s.SaveSettings();
    EXPECT_EQ(Read(), "[vesk]\r\nCloseType=2\r\nAutoStart=1\r\nhotkey=393297\r\nhotName=Ctrl + Alt + Q\r\n");
}

TEST_F(SettingsFile, FirstUseDateIsToday) {
    CLauncherSettings s;
    s.m_strIniPath = m_ini;
    SYSTEMTIME before;
    GetLocalTime(&before);
    EXPECT_EQ(s.RecordFirstUseDate(), 1);
    SYSTEMTIME after;
    GetLocalTime(&after);
    int year = GetIniInt(m_ini, L"nYear", 0), month = GetIniInt(m_ini, L"nMouth", 0),
        day = GetIniInt(m_ini, L"nDay", 0);
    bool matchesBefore = year == before.wYear && month == before.wMonth && day == before.wDay;
    bool matchesAfter = year == after.wYear && month == after.wMonth && day == after.wDay;
    EXPECT_TRUE(matchesBefore || matchesAfter) << year << "-" << month << "-" << day;
    EXPECT_EQ(Read().find("nYear="), 8u) << "nYear, nMouth, nDay in this order";
    EXPECT_LT(Read().find("nMouth="), Read().find("nDay="));
}

TEST(AccountFile, MarkRegisteredWritesRegInItsOwnFolder) {
    std::wstring folder = GetSpecialFolder(CSIDL_APPDATA) + L"\\Kaltowd\\";
    RemoveTree(folder);
    EXPECT_EQ(GetAccountFolder(), folder);
    EXPECT_TRUE(FolderExists(folder));
    EXPECT_EQ(MarkAccountRegistered(), 1);
    EXPECT_EQ(ReadFileBytes(folder + L"data.dat"), "[account]\r\nreg=1\r\n");
    RemoveTree(folder);
}
