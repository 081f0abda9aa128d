#include "win/Resource.h"

std::string_view GetResourceBytes(HMODULE module, const wchar_t* type, UINT id) {
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (!found) return {};
    HGLOBAL loaded = LoadResource(module, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    DWORD size = SizeofResource(module, found);
    if (!bytes || size == 0) return {};
    return std::string_view(static_cast<const char*>(bytes), size);
}
