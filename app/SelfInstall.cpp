#include "app/Lumengate.h"

#include "app/Settings.h"
#include "win/Path.h"

int CLumengate::SelfInstall() {
    std::wstring iniPath = GetModuleFolder() + L"static.ini";
    if (FileExists(iniPath) && GetIniString(iniPath, L"inner", L"") == L"1") return 1;
    return 1;
}
