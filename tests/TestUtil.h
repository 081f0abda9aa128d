// Small helpers shared by the tests.
#pragma once

#include <windows.h>

#include <string>

// A fresh, empty folder under the temporary folder, removed with everything in it at the end of the test.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& Path() const { return m_path; }  // ends in a backslash
    std::wstring File(const wchar_t* name) const { return m_path + name; }

private:
    std::wstring m_path;
};

std::string ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
void RemoveTree(const std::wstring& folder);
// Runs the queued messages of this thread until none is left.
void PumpMessages();
