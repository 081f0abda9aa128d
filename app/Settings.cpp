#include "app/Settings.h"

#include <windows.h>
#include <shlobj.h>

#include "win/Path.h"
#include "win/Str.h"

static const wchar_t kSection[] = L"vesk";

std::wstring GetIniString(const std::wstring& path, const wchar_t* key, const wchar_t* def) {
    if (path.empty()) return {};
    wchar_t buffer[MAX_PATH] = {};
    GetPrivateProfileStringW(kSection, key, def, buffer, MAX_PATH, path.c_str());
    return buffer;
}

int GetIniInt(const std::wstring& path, const wchar_t* key, int def) {
    // An empty path would make the system fall back to win.ini.
    if (path.empty()) return def;
    return static_cast<int>(GetPrivateProfileIntW(kSection, key, def, path.c_str()));
}

void SetIniString(const std::wstring& path, const wchar_t* key, const std::wstring& value) {
    if (path.empty()) return;
    WritePrivateProfileStringW(kSection, key, value.c_str(), path.c_str());
}

void SetIniInt(const std::wstring& path, const wchar_t* key, int value) {
    SetIniString(path, key, Format(L"%d", value));
}

void SplitInstallerName(std::wstring& name, std::wstring& uid) {
    std::wstring base = name.substr(0, name.rfind(L'.'));
    size_t underscore = base.find(L'_');
    if (underscore == std::wstring::npos) {
        uid = base;
        name.clear();
    } else {
        uid = base.substr(0, underscore);
        name = base.substr(underscore + 1);
    }
}

std::wstring GetAccountFolder() {
    std::wstring folder = GetSpecialFolder(CSIDL_APPDATA) + L"\\Kaltowd\\";
    EnsureFolder(folder);
    return folder;
}

int MarkAccountRegistered() {
    std::wstring path = GetAccountFolder() + L"data.dat";
    WritePrivateProfileStringW(L"account", L"reg", L"1", path.c_str());
    return 1;
}

void CLauncherSettings::LoadSettings() {
    std::wstring hotKey = GetIniString(m_strIniPath, L"hotkey", L"121");
    m_strHotName = GetIniString(m_strIniPath, L"hotName", L"F10");
    m_nCloseType = GetIniInt(m_strIniPath, L"CloseType", 0);
    m_nAutoStart = GetIniInt(m_strIniPath, L"AutoStart", 0);
    m_nHotKey = hotKey.empty() ? -1 : ParseInt(hotKey);

    if (GetIniInt(m_strIniPath, L"start", -1) == 1) {
        m_strSuid = GetIniString(m_strIniPath, L"filename", L"");
        m_strUid = GetIniString(m_strIniPath, L"uid", L"");
        return;
    }

    // First start of this installation: "filename" still holds the installer's file name.
    std::wstring name = GetIniString(m_strIniPath, L"filename", L"");
    std::wstring uid;
    if (!name.empty()) {
        SplitInstallerName(name, uid);
        m_strUid = uid;
    }
    m_strSuid = name;
    SetIniInt(m_strIniPath, L"start", 1);
    SetIniString(m_strIniPath, L"filename", m_strSuid);
    SetIniString(m_strIniPath, L"uid", uid);
}

void CLauncherSettings::SaveSettings() {
    SetIniInt(m_strIniPath, L"CloseType", m_nCloseType);
    SetIniInt(m_strIniPath, L"AutoStart", m_nAutoStart);
    SetIniString(m_strIniPath, L"hotkey", Format(L"%ld", static_cast<long>(m_nHotKey)));
    SetIniString(m_strIniPath, L"hotName", m_strHotName);
}

int CLauncherSettings::RecordFirstUseDate() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    SetIniInt(m_strIniPath, L"nYear", now.wYear);
    SetIniInt(m_strIniPath, L"nMouth", now.wMonth);
    SetIniInt(m_strIniPath, L"nDay", now.wDay);
    return 1;
}
