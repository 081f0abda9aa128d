// Whether a copy of the program is running: the installation starts its installed copy only when none is.
#pragma once

#include <string>

// 1 when a process other than this one runs an executable file named name (any letter case), otherwise 0.
int IsProcessRunning(const std::wstring& name);

// 1 when a process other than this one runs "veskplay.exe", otherwise 0.
int IsInstalledCopyRunning();
