#include "win/Path.h"

#include <windows.h>
#include <shlobj.h>

#include "win/Handle.h"

struct FindTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(HANDLE h) { return h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { FindClose(h); }
};

std::wstring GetModulePath() {
    wchar_t path[MAX_PATH] = {};
    DWORD len = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::wstring(path, len < MAX_PATH ? len : 0);
}

std::wstring GetModuleFolder() {
    std::wstring path = GetModulePath();
    return path.substr(0, path.rfind(L'\\') + 1);
}

std::wstring GetFileNamePart(const std::wstring& path) {
    size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring GetSpecialFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE)) return {};
    return path;
}

bool FileExists(const std::wstring& path) {
    DWORD attrs = GetFileAttributesW(path.c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY);
}

bool ForEachEntry(const std::wstring& folder, const std::function<void(const WIN32_FIND_DATAW&)>& visit) {
    WIN32_FIND_DATAW found;
    ScopedResource<HANDLE, FindTraits> search(FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (!search.IsValid()) return false;
    do {
        if (wcscmp(found.cFileName, L".") != 0 && wcscmp(found.cFileName, L"..") != 0) visit(found);
    } while (FindNextFileW(search, &found));
    return true;
}

bool EnsureFolder(const std::wstring& path) {
    return FolderExists(path) || CreateDirectoryW(path.c_str(), nullptr) || FolderExists(path);
}

bool FolderExists(const std::wstring& path) {
    DWORD attrs = GetFileAttributesW(path.c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY);
}
