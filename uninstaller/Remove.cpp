#include "uninstaller/Remove.h"

#include <windows.h>
#include <shlobj.h>

#include "win/Path.h"
#include "win/Str.h"

std::wstring WithoutSlash(std::wstring path) {
    while (!path.empty() && path.back() == L'\\')
        path.pop_back();
    return path;
}

// The same path in its long form, so that a folder reached through an 8.3 name still compares equal.
static std::wstring LongPath(const std::wstring& path) {
    wchar_t buffer[MAX_PATH] = {};
    DWORD len = GetLongPathNameW(path.c_str(), buffer, MAX_PATH);
    return len > 0 && len < MAX_PATH ? std::wstring(buffer, len) : path;
}

static bool IsInside(const std::wstring& folder, const std::wstring& path) {
    std::wstring base = WithoutSlash(LongPath(folder)) + L"\\";
    std::wstring full = LongPath(path);
    return full.size() > base.size() && EqualsNoCase(std::wstring_view(full).substr(0, base.size()), base) &&
           full.find(L"\\..") == std::wstring::npos;
}

static bool EndsWithNoCase(const std::wstring& text, const wchar_t* tail) {
    size_t n = wcslen(tail);
    return text.size() >= n && EqualsNoCase(std::wstring_view(text).substr(text.size() - n), tail);
}

static void RemoveFile(const std::wstring& path) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);  // a read-only file would refuse
    DeleteFileW(path.c_str());
}

bool RemoveFolder(const std::wstring& folder, const std::wstring& keep) {
    std::wstring base = WithoutSlash(folder);
    ForEachEntry(base, [&](const WIN32_FIND_DATAW& found) {
        std::wstring path = base + L"\\" + found.cFileName;
        bool isFolder = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        if (isFolder && !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            RemoveFolder(path, keep);
        else if (isFolder)
            RemoveDirectoryW(path.c_str());  // removes the link, not what it points to
        else if (keep.empty() || !EqualsNoCase(path, keep))
            RemoveFile(path);
    });
    SetFileAttributesW(base.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(base.c_str());
    return !FolderExists(base);
}

// A listed file: one in the installation folder, or a shortcut on the desktop or in the start menu. The list
// is a file anyone can edit: it must not make the uninstaller delete anything else.
static void RemoveListedFile(const std::wstring& folder, const std::wstring& path) {
    bool shortcut = EndsWithNoCase(path, L".lnk") && (IsInside(GetSpecialFolder(CSIDL_PROGRAMS), path) ||
                                                      IsInside(GetSpecialFolder(CSIDL_DESKTOPDIRECTORY), path));
    if (shortcut || IsInside(folder, path)) RemoveFile(path);
}

bool RemoveListed(const std::wstring& folder, const std::vector<__UNISTINFO>& list) {
    std::wstring folderName = GetFileNamePart(WithoutSlash(folder));
    bool ownsFolder = false;
    for (const __UNISTINFO& item : list) {
        const std::wstring& text = item.strText;
        switch (item.nType) {
            case kUnistFile: RemoveListedFile(folder, text); break;
            case kUnistListFolder:
                if (IsInside(folder, text)) RemoveFolder(text);
                break;
            case kUnistMenuFolder:
                if (EqualsNoCase(text, kProductName)) RemoveFolder(GetProductMenuFolder(text));
                break;
            case kUnistUninstallKey:
                if (EqualsNoCase(text, kUninstallKeyName))
                    RegDeleteKeyW(HKEY_CURRENT_USER, (kUninstallKeyBase + text).c_str());
                break;
            case kUnistInstallFolder: ownsFolder = ownsFolder || EqualsNoCase(text, folderName); break;
            default: break;  // the settings section (7) and the uid (8) are for information only
        }
    }
    if (ownsFolder) RemoveFolder(folder, GetModulePath());
    return ownsFolder;
}
