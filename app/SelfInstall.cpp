// Self-installation: a downloaded copy installs itself under the application-data folder, registers itself
// for uninstalling, reports the installation and starts the installed copy.
#include "app/Lumengate.h"

#include <shellapi.h>
#include <shlobj.h>

#include "app/Process.h"
#include "app/Settings.h"
#include "services/StatLog.h"
#include "win/Path.h"
#include "win/Str.h"

static const wchar_t kProductCode[] = L"vesk";

// "%APPDATA%\kaltogames\veskplay\"; only these two levels are created.
static std::wstring MakeInstallFolder() {
    std::wstring folder = GetSpecialFolder(CSIDL_APPDATA) + L"\\" + kMakerFolderName;
    EnsureFolder(folder);
    folder = folder + L"\\" + kInstallFolderName;
    EnsureFolder(folder);
    return folder + L"\\";
}

// The installed copy's first-run defaults; its first start splits "filename" into uid and channel id.
static void WriteInstallDefaults(const std::wstring& ini, const std::wstring& fileName) {
    const struct {
        const wchar_t* key;
        const wchar_t* value;
    } defaults[] = {
        {L"key", L""},       {L"uid", L""},        {L"start", L"0"},
        {L"gid", L"307"},    {L"Install", L""},    {L"DName", L""},
        {L"hotkey", L"121"}, {L"hotName", L"F10"}, {L"filename", fileName.c_str()},
        {L"inner", L"1"},
    };
    for (const auto& d : defaults)
        SetIniString(ini, d.key, d.value);
}

static bool IsDecimalDigits(const std::wstring& text) {
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') return false;
    }
    return true;
}

std::wstring CLumengate::RelaunchParameters(const std::wstring& value) {
    // A number is the minutes the installed copy waits before it starts; an empty value gives "ns ".
    return IsDecimalDigits(value) ? Format(L"%s %s", L"ns", value.c_str()) : L"ns";
}

int CLumengate::SelfInstall() {
    std::wstring iniPath = GetModuleFolder() + L"static.ini";
    if (FileExists(iniPath) && GetIniString(iniPath, L"inner", L"") == L"1") return 1;

    std::wstring runningPath = GetModulePath();
    std::wstring fileName = GetFileNamePart(runningPath);
    std::wstring folder = MakeInstallFolder();
    std::wstring exePath = folder + kInstalledExeName;
    bool firstInstall = !FileExists(exePath);
    // An installed executable is never replaced, not even by a newer download.
    CopyFileW(runningPath.c_str(), exePath.c_str(), TRUE);

    CreateShortcuts(folder);
    WriteUninstallKey(folder);
    WriteUninstaller(folder);
    AddUnistItem(exePath, kUnistFile);
    WriteInstallDefaults(folder + L"static.ini", fileName);

    std::wstring channel = fileName, uid;
    SplitInstallerName(channel, uid);
    SendStatLog(uid, kProductCode, L"1");

    if (m_strCmdLine != L"/s" && !IsInstalledCopyRunning()) {
        std::wstring params = RelaunchParameters(m_strCmdLine);
        ShellExecuteW(nullptr, L"open", exePath.c_str(), params.c_str(), folder.c_str(), SW_SHOW);
    }

    AddUnistItem(folder + L"static.ini", kUnistFile);
    AddUnistItem(folder + kUnistFolderName, kUnistListFolder);
    AddUnistItem(kProductName, kUnistMenuFolder);
    AddUnistItem(kProductCode, kUnistSection);
    AddUnistItem(uid, kUnistUid);
    AddUnistItem(kInstallFolderName, kUnistInstallFolder);
    WriteUnistXml(folder);  // drops the XML document when done

    SendStatLog(uid, kProductCode, L"2");
    if (firstInstall) SendStatLog(uid, kProductCode, L"3");
    return 0;
}
