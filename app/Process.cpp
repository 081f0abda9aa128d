#include "app/Process.h"

#include <windows.h>
#include <psapi.h>

#include <vector>

#include "win/Handle.h"
#include "win/Path.h"
#include "win/Str.h"

// All process ids of the system; the buffer grows until the list fits, so no process is left out.
static std::vector<DWORD> ListProcessIds() {
    std::vector<DWORD> ids(1024);
    for (;;) {
        DWORD bytes = 0;
        DWORD size = static_cast<DWORD>(ids.size() * sizeof(DWORD));
        if (!EnumProcesses(ids.data(), size, &bytes)) return {};
        if (bytes < size) {
            ids.resize(bytes / sizeof(DWORD));
            return ids;
        }
        ids.resize(ids.size() * 2);
    }
}

// The file name of a process's executable; empty when the process cannot be queried. The limited query right
// is granted for elevated processes and across 32/64 bits, where reading the module list is not.
static std::wstring GetProcessFileName(DWORD pid) {
    ScopedHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!process.IsValid()) return {};
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (!QueryFullProcessImageNameW(process, 0, path, &size)) return {};
    return GetFileNamePart(path);
}

int IsProcessRunning(const std::wstring& name) {
    // This process does not count: an installer downloaded as veskplay.exe must still start its installed copy.
    DWORD self = GetCurrentProcessId();
    for (DWORD pid : ListProcessIds()) {
        if (pid == 0 || pid == self) continue;
        if (EqualsNoCase(GetProcessFileName(pid), name)) return 1;
    }
    return 0;
}

int IsInstalledCopyRunning() {
    return IsProcessRunning(L"veskplay.exe");
}
