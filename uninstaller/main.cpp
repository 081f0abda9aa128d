// unists.exe: removes an installation of Veskora. Started without arguments (from the uninstall entry or the
// uninstall shortcut) it asks first and reports what happened; "/S" does the same without any message, for
// unattended use, and tells the outcome by its exit code.
#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "app/Process.h"
#include "app/Unist.h"
#include "uninstaller/Cleanup.h"
#include "uninstaller/Remove.h"
#include "win/Com.h"
#include "win/Path.h"
#include "win/Str.h"

enum ExitCode { kRemoved = 0, kCancelled = 1, kNoList = 2, kProgramRunning = 3, kCleanupFailed = 4 };

static const wchar_t kCaption[] = L"卸载 Veskora";
static const wchar_t kConfirmText[] = L"确定要卸载 Veskora 吗？\n程序、快捷方式和设置都将被删除。";
static const wchar_t kRunningText[] = L"Veskora 正在运行，无法卸载。\n请先退出 Veskora，再重新运行卸载程序。";
static const wchar_t kNoListText[] =
    L"找不到卸载信息（unist\\Unist.xml），或者卸载信息已损坏，无法卸载。\n没有删除任何文件。";
static const wchar_t kDoneText[] = L"Veskora 已从您的电脑中卸载。";

static int Tell(bool silent, const wchar_t* text, UINT style) {
    return silent ? IDOK : MessageBoxW(nullptr, text, kCaption, style | MB_SETFOREGROUND);
}

static int Uninstall(bool silent) {
    std::wstring folder = GetModuleFolder();
    std::vector<__UNISTINFO> list;
    if (!LoadUnistXml(folder + kUnistFolderName + L"\\" + kUnistFileName, list)) {
        Tell(silent, kNoListText, MB_OK | MB_ICONERROR);
        return kNoList;
    }
    if (!silent && Tell(false, kConfirmText, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) return kCancelled;
    if (IsInstalledCopyRunning()) {
        Tell(silent, kRunningText, MB_OK | MB_ICONWARNING);
        return kProgramRunning;
    }
    bool ownsFolder = RemoveListed(folder, list);
    Tell(silent, kDoneText, MB_OK | MB_ICONINFORMATION);
    if (!ownsFolder || StartCleanup(folder)) return kRemoved;
    // Without a helper the file and its folder can only go at the next restart (allowed to administrators).
    MoveFileExW(GetModulePath().c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    MoveFileExW(WithoutSlash(folder).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    return kCleanupFailed;
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::wstring> args(argv, argv + (argv ? argc : 0));
    LocalFree(argv);

    if (args.size() == 4 && args[1] == L"/cleanup") {
        auto parent = static_cast<ULONG_PTR>(_wcstoui64(args[2].c_str(), nullptr, 10));
        return FinishCleanup(reinterpret_cast<HANDLE>(parent), args[3]);
    }
    bool silent = args.size() > 1 && EqualsNoCase(args[1], L"/S");
    ScopedCoInit com;  // the list is read through MSXML
    return Uninstall(silent);
}
