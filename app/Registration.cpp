// Uninstall registration: the shortcuts, the uninstall entry, the uninstaller and the list of what the
// installation created, for the uninstaller to remove again.
#include "app/Lumengate.h"

#include <shlobj.h>

#include "services/Hosts.h"
#include "win/Com.h"
#include "win/Handle.h"
#include "win/Path.h"
#include "win/Resource.h"
#include "win/Str.h"

static const wchar_t kPublisher[] = L"Brisken";
static const wchar_t kVersion[] = L"1.1.5.1";
static const int kUninstallerResource = 136;

void CLumengate::CreateShortcuts(const std::wstring& folder) {
    CreateShortcut(folder + kInstalledExeName, std::wstring(kProductName) + L".lnk", TRUE);
    CreateShortcut(folder + kUninstallerName, Format(L"卸载%s.lnk", kProductName), FALSE);
}

int CLumengate::CreateShortcut(const std::wstring& target, const std::wstring& linkName, BOOL desktop) {
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link)))) return 0;
    ComPtr<IPersistFile> file;
    link.As(&file);

    std::wstring menu = GetProductMenuFolder(kProductName);
    EnsureFolder(menu);
    menu = menu + L"\\" + kProductName;
    EnsureFolder(menu);
    link->SetPath(target.c_str());

    // Listed even when the save fails: the uninstaller passes over what is not there.
    std::wstring menuLink = menu + L"\\" + linkName;
    if (file) file->Save(menuLink.c_str(), TRUE);
    AddUnistItem(menuLink, kUnistFile);
    if (desktop) {
        std::wstring desktopLink = GetSpecialFolder(CSIDL_DESKTOP) + L"\\" + linkName;
        if (file) file->Save(desktopLink.c_str(), TRUE);
        AddUnistItem(desktopLink, kUnistFile);
    }
    return 1;
}

static void SetRegString(HKEY key, const wchar_t* name, const std::wstring& value) {
    DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes);
}

void CLumengate::WriteUninstallKey(const std::wstring& folder) {
    std::wstring path = std::wstring(kUninstallKeyBase) + kUninstallKeyName;
    AddUnistItem(kUninstallKeyName, kUnistUninstallKey);
    ScopedRegKey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                        key.Receive(), nullptr) != ERROR_SUCCESS)
        return;
    SetRegString(key, L"DisplayName", kProductName);
    // Quoted: a folder with a blank (a user name with one) must not be read as a program and its arguments.
    SetRegString(key, L"UninstallString", L"\"" + folder + kUninstallerName + L"\"");
    SetRegString(key, L"DisplayIcon", folder + kInstalledExeName + L",0");  // the program's own icon
    SetRegString(key, L"URLInfoAbout", std::wstring(kHomeHost) + L"/");
    SetRegString(key, L"Publisher", kPublisher);
    SetRegString(key, L"PRODUCT_Version", kVersion);
}

int CLumengate::WriteUninstaller(const std::wstring& folder) {
    // m_hInstance is null outside Main (in the tests): that, too, means the executable's own resources.
    std::string_view bytes = GetResourceBytes(m_hInstance, L"UNISTS", kUninstallerResource);
    // Without the resource there is nothing to write; an empty unists.exe would only be a broken uninstaller.
    if (bytes.empty()) return 0;
    DWORD size = static_cast<DWORD>(bytes.size());

    std::wstring path = folder + kUninstallerName;
    ScopedHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr));
    if (!file.IsValid()) return 0;
    DWORD written = 0;
    if (WriteFile(file, bytes.data(), size, &written, nullptr) && written == size) return 1;
    file.Reset();
    DeleteFileW(path.c_str());  // a cut-off executable must not stay behind
    return 0;
}

void CLumengate::AddUnistItem(const std::wstring& text, int type) {
    if (text.empty()) return;
    m_arrUnist.push_back({text, type});
}

void CLumengate::WriteUnistXml(const std::wstring& folder) {
    ScopedCoInit com;
    if (!m_pXmlDoc) m_pXmlDoc = CreateXmlDocument();
    std::wstring listFolder = folder + kUnistFolderName;
    EnsureFolder(listFolder);
    if (m_pXmlDoc) SaveUnistXml(m_pXmlDoc.Get(), m_arrUnist, listFolder + L"\\" + kUnistFileName);
    // The document goes before this thread's COM use ends: no COM object may outlive it.
    m_pXmlDoc.Reset();
}
