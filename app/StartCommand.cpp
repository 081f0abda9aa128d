#include "app/StartCommand.h"

#include <shellapi.h>

#include "win/Str.h"

// The installer only ever passes a few minutes; a day is far beyond any real use and keeps a mistyped
// value from parking the process for weeks.
static const int kMaxWaitMinutes = 24 * 60;

DWORD WaitFromMinutes(int minutes) {
    if (minutes <= 0) return 0;
    if (minutes > kMaxWaitMinutes) minutes = kMaxWaitMinutes;
    return static_cast<DWORD>(minutes) * 60000u;
}

StartCommand ParseStartCommand(const std::wstring& tail, const std::wstring& commandLine) {
    StartCommand cmd;
    cmd.value = Trim(tail);
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(commandLine.c_str(), &argc);
    if (argv && argc == 3) {
        cmd.value = argv[1];
        cmd.waitMs = WaitFromMinutes(ParseInt(argv[2]));
    }
    LocalFree(argv);
    return cmd;
}

bool SkipsSelfInstall(const std::wstring& value) {
    return value == L"ns";
}

bool IsHiddenStart(const std::wstring& value) {
    return value == L"-hh";
}
