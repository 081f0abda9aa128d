// The last step of an uninstallation: the running uninstaller cannot delete its own file, so a copy of it in
// the temporary folder waits for it to end and then removes the installation folder.
#pragma once

#include <windows.h>

#include <string>

// Starts the copy for folder (the installation folder); false when it could not be started.
bool StartCleanup(const std::wstring& folder);

// The copy's work: waits for parent (the uninstaller's process) to end, then removes folder when nothing but the
// uninstaller is left in it, and the maker's folder above it when that is empty. Returns the exit code.
int FinishCleanup(HANDLE parent, const std::wstring& folder);
