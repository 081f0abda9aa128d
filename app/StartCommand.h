// How one start of the program proceeds, decided from its command line.
#pragma once

#include <windows.h>

#include <string>

struct StartCommand {
    std::wstring value;  // the mode word ("ns", "-hh", anything else)
    DWORD waitMs = 0;    // how long to wait before starting
};

// tail: the command line after the program name; commandLine: the whole command line of the process.
// With exactly two arguments after the program path, the first is the value and the second a number of minutes.
StartCommand ParseStartCommand(const std::wstring& tail, const std::wstring& commandLine);

// Minutes to milliseconds: nothing for a value below one minute, at most one day.
DWORD WaitFromMinutes(int minutes);

bool SkipsSelfInstall(const std::wstring& value);  // the relaunch after an installation
bool IsHiddenStart(const std::wstring& value);
