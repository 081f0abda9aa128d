// Data carried in the program's own resources.
#pragma once

#include <windows.h>

#include <string_view>

// The bytes of resource id of the given type in module (null: the executable); empty when there is none.
// The bytes belong to the module and stay valid as long as it is loaded.
std::string_view GetResourceBytes(HMODULE module, const wchar_t* type, UINT id);
