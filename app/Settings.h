// The settings file "static.ini" (section "vesk") and the account marker "data.dat", read and written through
// the system's profile functions so that the files stay in the system's ANSI code page.
#pragma once

#include <string>

// Reads key of section "vesk" (at most 259 characters); the default when the key is missing, the empty string
// when path is empty (no file is touched then).
std::wstring GetIniString(const std::wstring& path, const wchar_t* key, const wchar_t* def);
// The profile function's integer reading of key in section "vesk": leading digits, def when missing.
int GetIniInt(const std::wstring& path, const wchar_t* key, int def);
// Writes key of section "vesk"; nothing happens when path is empty.
void SetIniString(const std::wstring& path, const wchar_t* key, const std::wstring& value);
void SetIniInt(const std::wstring& path, const wchar_t* key, int value);

// Splits an installer's file name "uid_channel.exe": the extension goes at the last ".", uid is the text
// before the first "_" and name becomes the text after it (empty when there is no "_").
void SplitInstallerName(std::wstring& name, std::wstring& uid);

// "%APPDATA%\Kaltowd\", created when missing.
std::wstring GetAccountFolder();
// Writes reg=1 in section "account" of the account file; returns 1.
int MarkAccountRegistered();

// The launcher's settings as it holds them in memory while it runs.
class CLauncherSettings {
public:
    void LoadSettings();
    // Writes the preferences and the boss key back; the launcher adds the hot key's unregistration.
    void SaveSettings();
    int RecordFirstUseDate();

    std::wstring m_strIniPath;
    int m_nHotKey = -1;
    std::wstring m_strHotName = L"无";
    int m_nCloseType = 0;
    int m_nAutoStart = 0;
    std::wstring m_strUid;
    std::wstring m_strSuid;
};
