// Removal of what an installation created, led by its uninstall list.
#pragma once

#include <string>
#include <vector>

#include "app/Unist.h"

// path without its trailing backslashes.
std::wstring WithoutSlash(std::wstring path);

// Removes folder and everything in it except the file keep (a full path; may be empty). Links and junctions
// inside are removed, never followed. True when the folder is gone.
bool RemoveFolder(const std::wstring& folder, const std::wstring& keep = L"");

// Removes what the list names: files, the list's folder, the start-menu folder, the uninstall key; then, when
// the list names folder itself (type 10), everything in it but the running uninstaller. Paths outside the
// places an installation writes to are passed over. Returns true when the list names folder.
bool RemoveListed(const std::wstring& folder, const std::vector<__UNISTINFO>& list);
