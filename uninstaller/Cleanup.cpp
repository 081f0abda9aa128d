#include "uninstaller/Cleanup.h"

#include "app/Unist.h"
#include "uninstaller/Remove.h"
#include "win/Handle.h"
#include "win/Path.h"
#include "win/Str.h"

static const DWORD kParentWaitMs = 60000;
static const int kRemoveAttempts = 50;  // the system may release the ended uninstaller's file a moment later
static const DWORD kRemoveRetryMs = 100;

// The copy is opened for deletion on close and the handle is inherited by its process: the system deletes the
// file once that process, the last holder, has ended.
bool StartCleanup(const std::wstring& folder) {
    wchar_t tempFolder[MAX_PATH] = {};
    wchar_t copyPath[MAX_PATH] = {};
    if (!GetTempPathW(MAX_PATH, tempFolder) || !GetTempFileNameW(tempFolder, L"uns", 0, copyPath)) return false;
    if (!CopyFileW(GetModulePath().c_str(), copyPath, FALSE)) {
        DeleteFileW(copyPath);
        return false;
    }
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    ScopedHandle copy(CreateFileW(copyPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, &inherit, OPEN_EXISTING,
                                  FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (!copy.IsValid()) {
        DeleteFileW(copyPath);
        return false;
    }
    ScopedHandle self;
    HANDLE process = GetCurrentProcess();
    if (!DuplicateHandle(process, process, process, self.Receive(), SYNCHRONIZE, TRUE, 0)) return false;

    // The folder goes without its final backslash: before a closing quote it would escape the quote.
    std::wstring cmdLine =
        Format(L"\"%s\" /cleanup %llu \"%s\"", copyPath,
               static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(self.Get())), WithoutSlash(folder).c_str());
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started = {};
    if (!CreateProcessW(copyPath, cmdLine.data(), nullptr, nullptr, TRUE, 0, nullptr, tempFolder, &startup, &started))
        return false;
    ScopedHandle thread(started.hThread), child(started.hProcess);
    return true;
}

// True when folder holds the uninstaller and nothing else: a wrong argument must not erase anything.
static bool HoldsOnlyUninstaller(const std::wstring& folder) {
    bool uninstaller = false, other = false;
    bool searched = ForEachEntry(folder, [&](const WIN32_FIND_DATAW& found) {
        if (EqualsNoCase(found.cFileName, kUninstallerName) && !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            uninstaller = true;
        else
            other = true;
    });
    return searched && uninstaller && !other;
}

int FinishCleanup(HANDLE parent, const std::wstring& folder) {
    ScopedHandle owned(parent);  // inherited from the uninstaller that started this copy
    if (owned.IsValid()) WaitForSingleObject(owned, kParentWaitMs);
    std::wstring base = WithoutSlash(folder);
    if (base.empty() || !HoldsOnlyUninstaller(base)) return 1;
    for (int i = 0; i < kRemoveAttempts && !RemoveFolder(base); ++i)
        Sleep(kRemoveRetryMs);
    if (FolderExists(base)) return 1;

    // The maker's folder may hold other games of the platform: it goes only when it is empty.
    std::wstring above = base.substr(0, base.rfind(L'\\'));
    if (EqualsNoCase(GetFileNamePart(above), kMakerFolderName)) RemoveDirectoryW(above.c_str());
    return 0;
}
